#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers (preset "fuzz", clang 14) and runs each for
# the given number of seconds (default 60) on its seed corpus in fuzz/corpus/. Inputs that
# find new paths collect in fuzz-out/<target>/, a crashing input in fuzz-out/artifacts/.
#   scripts/fuzz.sh [seconds] [target...]      targets: record settings weights
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(record settings weights)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

mkdir -p fuzz-out/artifacts
for target in "${targets[@]}"; do
  mkdir -p "fuzz-out/$target"
  log="fuzz-out/$target.log"
  # 16 KiB inputs reach past the 4096-byte chunks of the readers.
  if build/fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
      -rss_limit_mb=2048 -dict="fuzz/$target.dict" \
      -artifact_prefix="fuzz-out/artifacts/$target-" \
      "fuzz-out/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    echo "fuzz: $target: $(grep -Eo '#[0-9]+' "$log" | tail -n 1 | tr -d '#') runs in ${seconds}s, no failure"
  else
    tail -n 40 "$log"
    echo "fuzz: $target failed; the input is in fuzz-out/artifacts/, the log in $log" >&2
    exit 1
  fi
done
