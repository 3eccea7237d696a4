#!/usr/bin/env bash
# Whether the expert finds proven wins: for every case of a solved set
# (bench/positions/few-wins.txt, made by tools/solved-positions.py few-wins: positions proven
# won for the side to move where few moves win), asks `quorlen-cli gtp --strength expert` for
# its move at SECONDS a move on one thread, and has MoHex's solver (Benzene, built by
# ../shared/peers/build-benzene.sh, never needed by the build) judge the position after it.
# Prints one line per case and the share of wins kept.
#   bench-proven-wins.sh QUORLEN_CLI MOHEX [SECONDS=1] [SET] [-- EXTRA GTP ARGS]
set -euo pipefail
cli=$(realpath "$1"); mohex=$2; secs=${3:-1}
set_file=${4:-$(dirname "$0")/../bench/positions/few-wins.txt}
shift $(( $# < 4 ? $# : 4 )); [ "${1:-}" = "--" ] && shift
python3 - "$cli" "$mohex" "$secs" "$set_file" "$(dirname "$0")/../tools" "$@" <<'PY'
import runpy, subprocess, sys, types
cli, mohex, secs, set_file, tools = sys.argv[1:6]
extra = sys.argv[6:]
# The set builder's solver client and side-to-move rule, without running its command line.
solved = types.SimpleNamespace(**runpy.run_path(tools + "/solved-positions.py"))
solver = solved.Solver(mohex, 60)
kept = cases = 0
for line in open(set_file):
    if not line.strip() or line.startswith("#"):
        continue
    fields = line.split(":")[0].split()
    size, moves = int(fields[0]), fields[1:]
    colour = solved.to_move(moves)
    script = ["boardsize %d" % size] + ["play %s %s" % ("b" if i % 2 == 0 else "w", m)
                                        for i, m in enumerate(moves)]
    script += ["genmove %s" % colour, "quit"]
    run = subprocess.run([cli, "gtp", "--strength", "expert", "--move-time", secs, "--threads",
                          "1"] + extra, input="\n".join(script) + "\n", capture_output=True,
                         text=True, timeout=600)
    answers = [a.strip() for a in run.stdout.split("\n\n") if a.strip()]
    move = answers[-2].lstrip("= ").strip().lower() if len(answers) >= 2 else ""
    won = move not in ("", "resign") and solver.winner(size, moves + [move]) == colour
    cases += 1
    kept += won
    print("%d %s %s" % (size, move, "won" if won else "LOST"), flush=True)
print("kept %d of %d proven wins (%d%%)" % (kept, cases, 100 * kept // max(cases, 1)))
PY
