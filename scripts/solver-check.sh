#!/usr/bin/env bash
# Checks `quorlen-cli solve` against the solved set of bench/positions/blunders.txt: each case is
# a position won for the side to move and, after its losing move, a position won for the other
# side (so also won for the side then to move). Counts the answers that agree, disagree (a bug)
# and are unknown within the limit; prints each disagreement.
#   solver-check.sh QUORLEN_CLI [SECONDS=1] [SET] [-- EXTRA SOLVE ARGS]
set -euo pipefail
cli=$(realpath "$1"); secs=${2:-1}
set_file=${3:-$(dirname "$0")/../bench/positions/blunders.txt}
shift $(( $# < 3 ? $# : 3 )); [ "${1:-}" = "--" ] && shift
python3 - "$cli" "$secs" "$set_file" "$@" <<'PY'
import json, subprocess, sys
cli, secs, set_file = sys.argv[1:4]
extra = sys.argv[4:]
counts = {"agree": 0, "disagree": 0, "unknown": 0}
for line in open(set_file):
    if not line.strip() or line.startswith("#"):
        continue
    size, *names = line.split()
    moves = [f"{size}.{size}" if n == "swap-pieces" else f"{int(n[1:]) - 1}.{ord(n[0]) - 97}"
             for n in names]
    for k in (len(moves) - 1, len(moves)):  # before and after the losing move
        out = subprocess.run([cli, "solve", "--size", size, "--moves", ",".join(moves[:k]),
                              "--seconds", secs] + extra, capture_output=True, text=True,
                             check=True)
        result = json.loads(out.stdout)["result"]
        kind = "unknown" if result == "unknown" else "agree" if result == "won" else "disagree"
        counts[kind] += 1
        if kind == "disagree":
            print("disagree:", size, " ".join(names[:k]))
print(" ".join(f"{key} {value}" for key, value in counts.items()))
PY
