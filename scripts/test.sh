#!/usr/bin/env bash
# Sets up, builds and runs every test: the format check, the threaded tests under
# ThreadSanitizer, a short libFuzzer run of the file readers, then the whole suite under
# AddressSanitizer + UBSan with warnings as errors. ctest's summary of the whole suite is the
# last thing printed.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
./scripts/check-format.sh

echo "== threaded tests under ThreadSanitizer"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan

echo "== file readers under libFuzzer, 5 seconds each"
./scripts/fuzz.sh 5

echo "== all tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset test
