#!/usr/bin/env bash
# Builds the test suite with gcc's coverage instrumentation (preset "coverage": -O0, no
# sanitizers, no UI), runs every test, and prints the line coverage of each library folder
# that the suite is meant to cover, then of all of them together.
#   scripts/coverage.sh            report in the terminal; build/coverage/coverage.json keeps
#                                  the per-file figures
set -euo pipefail
cd "$(dirname "$0")/.."

folders=(model engine settings players document)

./scripts/setup.sh
cmake --preset coverage >/dev/null
# Objects and notes of sources that are gone would be reported as never run.
ninja -C build/coverage -t cleandead >/dev/null
cmake --build --preset coverage
find build/coverage -name '*.gcno' | while read -r notes; do
  [[ -f "${notes%.gcno}.o" ]] || rm -f "$notes"
done

# Counts from an earlier run would add up with this one's.
find build/coverage -name '*.gcda' -delete

status=0
ctest --preset coverage --parallel "$(nproc)" || status=$?

filter=$(IFS='|'; echo "(${folders[*]})/")
gcovr --root . --filter "$filter" --json-summary build/coverage/coverage.json \
  -j "$(nproc)" build/coverage >/dev/null

python3 - build/coverage/coverage.json "${folders[@]}" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
folders = sys.argv[2:]
covered = dict.fromkeys(folders, 0)
total = dict.fromkeys(folders, 0)
for f in report["files"]:
    folder = f["filename"].split("/", 1)[0]
    if folder in covered:
        covered[folder] += f["line_covered"]
        total[folder] += f["line_total"]
print(f"{'folder':<10} {'lines':>6} {'covered':>8} {'coverage':>9}")
for name in folders + ["all"]:
    c = sum(covered.values()) if name == "all" else covered[name]
    t = sum(total.values()) if name == "all" else total[name]
    share = 100.0 * c / t if t else 0.0
    print(f"{name + '/' if name != 'all' else name:<10} {t:>6} {c:>8} {share:>8.1f}%")
PY
exit "$status"
