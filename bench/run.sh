#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: first the number formatter
# against the former one over 10^8 random doubles, then the timings, each with
# its ratio to a floor measured in the same run.
#   bench/run.sh [BUILD_DIR] [tesra_bench options…]     (default build-bench)
# With --benchmark_filter=REGEX only the matching benchmarks run, and the
# number formatter's check (about 37 s) is left out:
#   bench/run.sh build-bench --benchmark_filter='BM_TypicalRun|BM_TrivialReplace'
# Exits non-zero when the check finds a difference or a ratio is over its limit.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
shift || true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESRA_BENCH=ON \
  -DTESRA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target tesra_bench number_format_check
filtered=false
for option in "$@"; do
    case $option in --benchmark_filter=*) filtered=true ;; esac
done
if $filtered; then
    echo "number formatter check left out: a filter picks the benchmarks"
else
    "$build/bench/number_format_check" 100000000
fi
"$build/bench/tesra_bench" "$@"
