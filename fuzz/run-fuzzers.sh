#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   fuzz/run-fuzzers.sh [SECONDS_PER_TARGET]      (default 60)
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_TARGETS (default all).
# Starts from the seeds in fuzz/corpus/<target>/ (never written to); what the
# fuzzer learns stays in $FUZZ_BUILD_DIR/corpus/<target>/, crashing inputs in
# $FUZZ_BUILD_DIR/findings/<target>/. Exits non-zero if any target found
# anything; prints the executions of each target.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=${FUZZ_TARGETS:-"reader_fuzz store_fuzz figure_library_fuzz symbol_library_fuzz run_fuzz scene_reader_fuzz number_format_fuzz"}

CXX=${CXX:-clang++} cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESRA_FUZZ=ON -DTESRA_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

status=0
summary=""
for target in $targets; do
  seeds=fuzz/corpus/${target%_fuzz}
  work=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/$target.log
  mkdir -p "$work" "$findings"
  dict=()
  case $target in reader_fuzz | run_fuzz) dict=(-dict=fuzz/exchange.dict) ;; esac
  echo "== $target: ${seconds}s"
  set +e
  # A drawing at the figure limit takes seconds under the sanitizers; a
  # single input running longer than the timeout counts as a hang.
  "$build/fuzz/$target" "$work" "$seeds" -max_total_time="$seconds" -timeout=60 \
    -rss_limit_mb=2560 -max_len=16384 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${dict[@]}" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=$(printf '%-18s %12s executions  exit %s' "$target" "${execs:-?}" "$rc")$'\n'
  if [ "$rc" -ne 0 ]; then
    status=1
    echo "!! $target found a problem (exit $rc); inputs in $findings, log $log:"
    grep -E 'ERROR|SUMMARY|runtime error|Abort|timeout|invalid line' "$log" | head -n 20 || true
  fi
done
echo "== executions per target"
printf '%s' "$summary"
exit $status
