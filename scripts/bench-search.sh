#!/usr/bin/env bash
# Measures the look-ahead search with the release build of quorlen-cli: the depth it reaches,
# its tree size, peak memory and how far it runs past its budget, at given move numbers of
# recorded games. Usage: scripts/bench-search.sh RECORD MOVE_NUMBER BUDGET [...]
# (triples of arguments). Prints one line per search.
set -euo pipefail
cli=${QUORLEN_CLI:-build/release/cli/quorlen-cli}
while (($# >= 3)); do
  record=$1 moveNumber=$2 budget=$3
  shift 3
  size=$(head -n 1 "$record" | tr -d '\r')
  # Player 1 is to move at move number m after 2(m - 1) moves.
  count=$((2 * (moveNumber - 1)))
  moves=$(tail -n +2 "$record" | head -n "$count" | tr -d '\r' | paste -sd, -)
  result=$("$cli" search --size "$size" --moves "$moves" --budget "$budget" 2>/dev/null)
  echo "size $size, move number $moveNumber, budget $budget s: $result"
done
