#!/usr/bin/env bash
# Remakes mcts/OpeningBookTable.inc, the expert's opening book: every first stone's win rate
# for Player 1 on boards of side 7 to 13, by quorlen_opening_table (a fixed search, the same
# table on every run). Builds the tool in the bench preset (optimised). About 15 minutes on one
# core at the default 100000 playouts a stone.
#   make-opening-book.sh [PLAYOUTS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
playouts=${1:-100000}
cmake --preset bench -S "$root" >/dev/null
cmake --build "$root/build/bench" --target quorlen_opening_table
out=$root/mcts/OpeningBookTable.inc
{
  echo "// Made by tools/make-opening-book.sh $playouts: {side, row, col, Player 1's win rate in"
  echo "// ten-thousandths when the stone may not be swapped}, one stone of each half-turn pair."
  "$root/build/bench/tools/quorlen_opening_table" "$playouts" 7 8 9 10 11 12 13
} >"$out.new"
mv "$out.new" "$out"
echo "$out"
