#!/bin/sh
# Builds the library and the bench suite in Release and runs both:
#   scripts/run_bench.sh [google-benchmark options...]
# Builds in build-release/ (or $BUILD_DIR); the recordings go to a temporary
# directory that is removed afterwards. Each benchmark repeats 5 times; the
# table shows mean, median, stddev, cv, min and max of every counter (ratio is
# library / baseline for times, library / baseline throughput for bulk data).
# Then the same for pass-through beside its floor (zeb_passthrough_bench), and
# zeb_memory_check prints heap and peak RSS after 1,000 and 100,000
# create/free pairs of each family and after a 10,000-node graph.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-release}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZEB_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" --target zeb_bench zeb_passthrough_bench zeb_memory_check -j2 > /dev/null

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
