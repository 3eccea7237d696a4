#!/usr/bin/env bash
# Applies .clang-format to every C++ file of the project.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [[ -f "$f" ]] && echo "$f"; done | xargs -r "$format" -i
