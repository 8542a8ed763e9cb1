#!/bin/sh
# Builds the library, the tool and the bench suite in Release and runs them:
#   scripts/run_bench.sh [google-benchmark options...]
# Builds in build-release/ (or $BUILD_DIR); the recordings go to a temporary
# directory that is removed afterwards. Each benchmark repeats 5 times; the
# table shows mean, median, stddev, cv, min and max of every counter (ratio is
# library / baseline for times, library / baseline throughput for bulk data).
# Then the same for pass-through beside its floor (zeb_passthrough_bench),
# zeb_memory_check prints heap and peak RSS after 1,000 and 100,000
# create/free pairs of each family and after a 10,000-node graph, and
# zeb_end_to_end records, builds (zebscribe build) and replays synthetic
# graphs of 1,000 and 10,000 nodes and a long run of executions:
#   ZEB_BENCH_100K=1          adds the 100,000-node graph
#   ZEB_BENCH_PLAIN=1         also builds each with `zebscribe build --plain` (the
#                             model file as one unit: minutes and GBs from 10k on)
#   ZEB_BENCH_END_TO_END=0    skips zeb_end_to_end
#   ZEB_BENCH_BUILD_LIMIT / ZEB_BENCH_BUILD_MEMORY   a build's seconds (1800) and
#                             gigabytes of address space (12)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZEB_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" --target zeb_bench zeb_passthrough_bench zeb_memory_check zeb_end_to_end -j2 > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/zeb_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_counters_tabular=true "$@"
echo
"$build/bench/zeb_passthrough_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_counters_tabular=true
echo
"$build/bench/zeb_memory_check"
if [ "${ZEB_BENCH_END_TO_END:-1}" != 0 ]; then
  echo
  "$build/bench/zeb_end_to_end"
fi
