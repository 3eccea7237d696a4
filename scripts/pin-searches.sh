#!/usr/bin/env bash
# Rewrites the pinned searches tests/engine/pinned-searches/<name>.json from positions.txt
# with the release build of quorlen-cli. Run it only when a change of the search's results is
# meant; then look at the diff of the .json files before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
pinned=tests/engine/pinned-searches

cmake --preset release >/dev/null
cmake --build --preset release --target quorlen-cli
cli=build/release/cli/quorlen-cli

count=0
while read -r name args; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  # shellcheck disable=SC2086 # the arguments are words separated by blanks
  "$cli" search $args --each-depth --no-times 2>/dev/null >"$pinned/$name.json.tmp"
  mv "$pinned/$name.json.tmp" "$pinned/$name.json"
  count=$((count + 1))
done <"$pinned/positions.txt"
echo "pin-searches: wrote $count searches into $pinned"
