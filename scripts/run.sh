#!/usr/bin/env bash
# Sets up, builds (release, -O2) and starts Quorlen. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [[ -x build/release/ui/quorlen ]]; then
  exec build/release/ui/quorlen "$@"
fi
# Until the window exists: a game between two first-empty-cell players.
exec build/release/cli/quorlen-cli demo "$@"
