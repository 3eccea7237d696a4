#!/usr/bin/env bash
# Sets up, builds (release, -O2) and starts Quorlen. Arguments go to the program (a game
# record to open).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/ui/quorlen "$@"
