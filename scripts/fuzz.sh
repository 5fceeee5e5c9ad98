#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs each for SECONDS (default 25)
# on a copy of its seed corpus from tests/fuzz/corpus/<target>/. Fails when any target finds
# a crash, a sanitizer report, a leak, a hang or a reader that keeps prompting; the input
# that did it is kept as build-fuzz/findings/<target>-crash-... (or -timeout-, -leak-,
# -oom-). Prints the executions each target reached.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (a long run: scripts/fuzz.sh 3600)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-25}
shift || true
build=${REFX_FUZZ_BUILD:-$root/build-fuzz}
all_targets=(config waveform_text waveform_binary fft_text fft_binary filter_text filter_binary
             value_entry script)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DREFX_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target refx_fuzz_all

mkdir -p "$build/findings" "$build/logs"
failed=()
summary=()
for t in "${targets[@]}"; do
  seeds=$root/tests/fuzz/corpus/$t
  work=$build/corpus/$t  # grows across runs; the seeds in the tree stay as they are
  mkdir -p "$work"
  log=$build/logs/$t.log
  echo "fuzzing $t for ${seconds}s"
  status=0
  # One job, so findings stop the run; -timeout marks a hang, -rss_limit_mb a runaway.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
      "$work" "$seeds" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$(printf '%-16s %12s executions  %s' "$t" "${execs:-?}" \
    "$([ $status -eq 0 ] && echo clean || echo "FINDING (status $status)")")")
  if [ $status -ne 0 ]; then
    failed+=("$t")
    tail -n 40 "$log"
  fi
done
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz findings in: ${failed[*]} (inputs in $build/findings/, logs in $build/logs/)"
  exit 1
fi
echo "${#targets[@]} passed, 0 failed"
