#!/usr/bin/env bash
# The whole test suite under valgrind's memcheck, and every run of the real
# executable that the tests start (through TESRA_EXE_WRAPPER).
#   tests/run_valgrind_tests.sh [BUILD_DIR] (default build; configured and built
#                                           as RelWithDebInfo when needed)
# Each test executable runs in two shards at once. Exits non-zero when a test
# fails or valgrind reports an error or a leak in any process, including runs
# of tesra that were expected to fail (their status alone would hide it).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
logs=$build/valgrind
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# valgrind cannot see the heap of a static C library and reports its start-up
# code: tesra is linked dynamically for these runs, and statically again after.
cmake -S . -B "$build" -DTESRA_STATIC_EXE=OFF >/dev/null
trap 'cmake -S . -B "$build" -DTESRA_STATIC_EXE=ON >/dev/null && cmake --build "$build" --target tesra >/dev/null' EXIT
cmake --build "$build" -j2
rm -rf "$logs"
mkdir -p "$logs"

memcheck="valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect"
export TESRA_EXE_WRAPPER="$memcheck --log-file=$(realpath "$logs")/tesra.%p.log"

status=0
start=$(date +%s)
for exe in "$build"/tests/tesra_*_tests "$build"/tools/svg/tesra_svg_tests; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  t0=$(date +%s)
  pids=()
  for shard in 0 1; do
    GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard \
      $memcheck --log-file="$logs/$name.$shard.valgrind" "$exe" >"$logs/$name.$shard.out" 2>&1 &
    pids+=($!)
  done
  result=ok
  for pid in "${pids[@]}"; do wait "$pid" || result=FAILED; done
  echo "$(printf '%-24s' "$name") $result  $(( $(date +%s) - t0 )) s"
  if [ "$result" != ok ]; then
    status=1
    grep -hE '^\[  FAILED|Failure' "$logs/$name".*.out | head -n 20 || true
  fi
done

# Runs of tesra with anything to report left a non-empty log.
for log in "$logs"/*.valgrind "$logs"/tesra.*.log; do
  [ -s "$log" ] || continue
  status=1
  echo "!! valgrind reported in $log:"
  head -n 30 "$log"
done
echo "valgrind: all tests in $(( $(date +%s) - start )) s, $(ls "$logs"/tesra.*.log 2>/dev/null | wc -l) runs of tesra"
exit $status
