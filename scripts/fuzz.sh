#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 60), two at a time,
# starting from the seeds in tests/fuzz/corpus. New inputs go to a scratch folder, not into the repository.
# Exits non-zero when a target finds a crash, a leak or undefined behaviour.
# usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLOWEN_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen
run() {
  local target="$1"
  mkdir -p "$scratch/$target"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
      "$scratch/$target" "$root/tests/fuzz/corpus/$target" >"$scratch/$target.log" 2>&1; then
    echo "$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$scratch/$target.log" | cut -d' ' -f2) executions, nothing found"
  else
    echo "$target: FAILED"
    tail -n 40 "$scratch/$target.log"
    return 1
  fi
}
status=0
targets=(fuzz_replace fuzz_split fuzz_number fuzz_gb18030)
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  run "${targets[i]}" & first=$!
  if ((i + 1 < ${#targets[@]})); then run "${targets[i + 1]}" || status=1; fi
  wait "$first" || status=1
done
exit "$status"
