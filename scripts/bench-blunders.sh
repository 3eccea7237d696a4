#!/usr/bin/env bash
# Whether `quorlen-cli review` catches a thrown-away win: for every case of a solved set
# (bench/positions/blunders.txt, made by tools/solved-positions.py: a position proven won for
# the side to move, then a move proven losing), reviews the last move alone (`--from`) and
# counts its labels. Prints one line per case and the share labelled mistake or blunder.
#   bench-blunders.sh QUORLEN_CLI [SECONDS=2] [THREADS=2] [SET]
set -euo pipefail
cli=$(realpath "$1"); secs=${2:-2}; threads=${3:-2}
set_file=${4:-$(dirname "$0")/../bench/positions/blunders.txt}
work=$(mktemp -d /tmp/blunders.XXXXXX)
trap 'rm -rf "$work"' EXIT
caught=0; cases=0
while read -r size moves; do
  [[ -z "$size" || "$size" == \#* ]] && continue
  read -ra list <<<"$moves"
  sgf="(;FF[4]GM[11]SZ[$size]"
  for i in "${!list[@]}"; do
    sgf+=";$( ((i % 2 == 0)) && echo B || echo W)[${list[$i]}]"
  done
  echo "$sgf)" >"$work/case.sgf"
  label=$("$cli" review "$work/case.sgf" --from "${#list[@]}" --seconds "$secs" \
            --threads "$threads" 2>/dev/null |
          python3 -c 'import json,sys; print(json.load(sys.stdin)["moves"][0]["label"])')
  cases=$((cases + 1))
  [[ "$label" == mistake || "$label" == blunder ]] && caught=$((caught + 1))
  echo "$size ${list[*]: -1} $label"
done <"$set_file"
echo "caught $caught of $cases thrown-away wins ($((100 * caught / (cases > 0 ? cases : 1)))%)"
