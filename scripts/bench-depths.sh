#!/usr/bin/env bash
# Times the look-ahead search to fixed depths with two builds of quorlen-cli side by side, on
# positions of recorded games: first checks that both find the same move, value, tree and
# root values at every depth, then runs them in turns, REPEATS times each, and prints the
# median time at which each depth was finished, the peak memory and the ratio.
# Usage: scripts/bench-depths.sh OLD_CLI NEW_CLI REPEATS RECORD PLIES DEPTH [RECORD PLIES DEPTH]...
# PLIES is the number of the record's moves played before the search. NEW_ARGS (for example
# "--threads 2") goes to the new build only. Prints one line per position and depth, then the
# geometric mean of the ratios at each position's deepest depth.
set -euo pipefail
old=$1 new=$2 repeats=$3
shift 3
read -r -a newArgs <<<"${NEW_ARGS:-}"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The n-th number (from 1) of the JSON array after "key":[ in a one-line result.
arrayItem() { sed -e "s/.*\"$1\":\[\([^]]*\)\].*/\1/" | tr ',' '\n' | sed -n "${2}p"; }
field() { sed -e "s/.*\"$1\":\([^,}]*\).*/\1/"; }

printf '%-5s %5s %5s %9s %9s %7s %8s %8s %s\n' size plies depth before_s after_s ratio before_MiB after_MiB same
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
deepest=()
while (($# >= 3)); do
  record=$1 plies=$2 depth=$3
  shift 3
  size=$(head -n 1 "$record" | tr -d '\r')
  moves=$(tail -n +2 "$record" | head -n "$plies" | tr -d '\r' | paste -sd, -)
  position=(--size "$size")
  [[ -n "$moves" ]] && position+=(--moves "$moves")
  same=yes
  if [[ "$("$old" search "${position[@]}" --depth "$depth" --each-depth --no-times 2>/dev/null)" != \
        "$("$new" search "${position[@]}" --depth "$depth" --each-depth --no-times "${newArgs[@]}" 2>/dev/null)" ]]; then
    same=NO
  fi
  for ((r = 0; r < repeats; ++r)); do
    for build in old new; do
      [[ $((r % 2)) == 1 ]] && build=$([[ $build == old ]] && echo new || echo old)
      if [[ $build == old ]]; then
        "$old" search "${position[@]}" --depth "$depth" 2>/dev/null >>"$logs/old"
      else
        "$new" search "${position[@]}" --depth "$depth" "${newArgs[@]}" 2>/dev/null >>"$logs/new"
      fi
    done
  done
  reached=$(field depth <"$logs/old" | tail -n 1)
  for ((d = 1; d <= reached; ++d)); do
    before=$(while read -r line; do arrayItem depth_seconds "$d" <<<"$line"; done <"$logs/old" | median)
    after=$(while read -r line; do arrayItem depth_seconds "$d" <<<"$line"; done <"$logs/new" | median)
    beforeMiB=$(field peak_rss_mib <"$logs/old" | median)
    afterMiB=$(field peak_rss_mib <"$logs/new" | median)
    ratio=$(awk -v b="$before" -v a="$after" 'BEGIN { printf "%.2f", b / a }')
    printf '%-5s %5s %5s %9.3f %9.3f %7s %8.0f %8.0f %s\n' "$size" "$plies" "$d" "$before" "$after" \
      "$ratio" "$beforeMiB" "$afterMiB" "$same"
    ((d == reached)) && deepest+=("$ratio")
  done
  rm -f "$logs/old" "$logs/new"
done
printf '%s\n' "${deepest[@]}" | awk '{ s += log($1) } END { printf "geometric mean of the ratios at the deepest depths: %.2f over %d positions\n", exp(s / NR), NR }'
