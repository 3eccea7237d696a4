#!/usr/bin/env bash
# Runs the document's soak long: New Game and Stop Game at random moments with hard and easy
# computer players, under AddressSanitizer (leaks) and then ThreadSanitizer (data races). The
# test command runs a bounded version of the same test.
#   scripts/soak.sh [cycles]      (default 500; no time limit)
set -euo pipefail
cd "$(dirname "$0")/.."

cycles=${1:-500}
./scripts/setup.sh
for preset in test tsan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target document_soak_tests
  echo "== soak under the $preset preset: $cycles cycles"
  QUORLEN_SOAK_CYCLES=$cycles QUORLEN_SOAK_SECONDS=0 \
    "build/$preset/tests/document/document_soak_tests"
done
