#!/usr/bin/env bash
# Fails when a C++ file does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
existing=()
for f in "${files[@]}"; do [[ -f "$f" ]] && existing+=("$f"); done
if ! "$format" --dry-run --Werror "${existing[@]}" 2>/tmp/quorlen-format.log; then
  head -n 40 /tmp/quorlen-format.log
  echo "format: run scripts/format.sh" >&2
  exit 1
fi
echo "format: ${#existing[@]} files follow .clang-format"
