#!/usr/bin/env bash
# Rewrites the pinned analyses tests/engine/pinned/<name>.json from positions.txt with the
# release build of quorlen-cli. Run it only when a change of the engine's results is meant;
# then look at the diff of the .json files before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
pinned=tests/engine/pinned

cmake --preset release >/dev/null
cmake --build --preset release --target quorlen-cli
cli=build/release/cli/quorlen-cli

count=0
while read -r name args; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  args=${args//\{pinned\}/$pinned}
  # shellcheck disable=SC2086 # the arguments are words separated by blanks
  "$cli" analyze $args >"$pinned/$name.json.tmp"
  mv "$pinned/$name.json.tmp" "$pinned/$name.json"
  count=$((count + 1))
done <"$pinned/positions.txt"
echo "pin-analyses: wrote $count analyses into $pinned"
