#!/usr/bin/env bash
# Times the look-ahead search to fixed depths with two builds of quorlen-cli side by side, on
# positions of recorded games: first checks that both find the same move, value, tree and
# root values at every depth, then runs them in turns, REPEATS times each, and prints the
# median time at which each depth was finished, the peak memory and the ratio.
# Usage: scripts/bench-depths.sh OLD_CLI NEW_CLI REPEATS RECORD PLIES DEPTH [RECORD PLIES DEPTH]...
# PLIES is the number of the record's moves played before the search. THREADS (default "1")
# lists the thread counts the new build runs with, each a column of its own (for example
# THREADS="1 2"). Prints one line per position and depth, then, per thread count, the
# geometric mean of the ratios at each position's deepest depth.
set -euo pipefail
old=$1 new=$2 repeats=$3
shift 3
read -r -a threads <<<"${THREADS:-1}"
configs=(old "${threads[@]/#/t}")

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The n-th number (from 1) of the JSON array after "key":[ in a one-line result.
arrayItem() { sed -e "s/.*\"$1\":\[\([^]]*\)\].*/\1/" | tr ',' '\n' | sed -n "${2}p"; }
field() { sed -e "s/.*\"$1\":\([^,}]*\).*/\1/"; }
# Runs one configuration (old, or tN: the new build on N threads) with the given arguments.
runConfig() {
  local config=$1
  shift
  if [[ $config == old ]]; then
    "$old" search "$@" 2>/dev/null
  else
    "$new" search "$@" --threads "${config#t}" 2>/dev/null
  fi
}
ratio() { awk -v b="$1" -v a="$2" 'BEGIN { if (a > 0) printf "%.2f", b / a; else print "-" }'; }

printf '%-5s %5s %5s %9s' size plies depth before_s
for t in "${threads[@]}"; do printf ' %9s %7s' "after${t}t_s" "ratio"; done
printf ' %10s' before_MiB
for t in "${threads[@]}"; do printf ' %10s' "after${t}t_MiB"; done
printf ' %s\n' same
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
declare -A deepest
while (($# >= 3)); do
  record=$1 plies=$2 depth=$3
  shift 3
  size=$(head -n 1 "$record" | tr -d '\r')
  moves=$(tail -n +2 "$record" | head -n "$plies" | tr -d '\r' | paste -sd, -)
  position=(--size "$size")
  [[ -n "$moves" ]] && position+=(--moves "$moves")
  same=yes
  reference=$(runConfig old "${position[@]}" --depth "$depth" --each-depth --no-times)
  for t in "${threads[@]}"; do
    [[ "$(runConfig "t$t" "${position[@]}" --depth "$depth" --each-depth --no-times)" == "$reference" ]] ||
      same=NO
  done
  for ((r = 0; r < repeats; ++r)); do
    # Each round starts with the next configuration, so that none always runs first.
    for ((i = 0; i < ${#configs[@]}; ++i)); do
      config=${configs[$(((i + r) % ${#configs[@]}))]}
      runConfig "$config" "${position[@]}" --depth "$depth" >>"$logs/$config"
    done
  done
  reached=$(field depth <"$logs/old" | tail -n 1)
  for ((d = 1; d <= reached; ++d)); do
    declare -A seconds=() mib=()
    for config in "${configs[@]}"; do
      seconds[$config]=$(while read -r line; do arrayItem depth_seconds "$d" <<<"$line"; done \
        <"$logs/$config" | median)
      mib[$config]=$(field peak_rss_mib <"$logs/$config" | median)
    done
    printf '%-5s %5s %5s %9.3f' "$size" "$plies" "$d" "${seconds[old]}"
    for t in "${threads[@]}"; do
      speedUp=$(ratio "${seconds[old]}" "${seconds[t$t]}")
      printf ' %9.3f %7s' "${seconds[t$t]}" "$speedUp"
      ((d == reached)) && deepest[$t]+="$speedUp "
    done
    printf ' %10.0f' "${mib[old]}"
    for t in "${threads[@]}"; do printf ' %10.0f' "${mib[t$t]}"; done
    printf ' %s\n' "$same"
  done
  rm -f "$logs"/*
done
for t in "${threads[@]}"; do
  tr ' ' '\n' <<<"${deepest[$t]}" | grep -v '^-\?$' |
    awk -v t="$t" '{ s += log($1) } END { printf "%s thread(s): geometric mean of the ratios at the deepest depths: %.2f over %d positions\n", t, exp(s / NR), NR }'
done
