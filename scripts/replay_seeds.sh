#!/bin/sh
# Runs the end-to-end comparison (direct run against the echo backend versus
# ZebScribe's replayed recording, plus the round trip where it applies) for N
# random scenarios, seeds START to START+N-1 (START defaults to 1).
#   scripts/replay_seeds.sh N [START]
# Builds in $BUILD_DIR (default: build) first. A failing seed is named in the
# output; rerun it alone with: scripts/replay_seeds.sh 1 SEED
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 N [START]" >&2
  exit 2
fi
count=$1
start=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build" > /dev/null
cmake --build "$build" --target zeb_e2e_tests -j2 > /dev/null
ZEB_E2E_SEEDS="$start:$count" "$build/tests/e2e/zeb_e2e_tests" \
  --gtest_filter='Random/*' --gtest_brief=1
