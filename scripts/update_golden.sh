#!/bin/sh
# Records every named scenario again and rewrites tests/golden/ with the model
# and data files it gives. Review the change (git diff tests/golden) like code.
#   scripts/update_golden.sh
# Builds in $BUILD_DIR (default: build) first.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build" > /dev/null
cmake --build "$build" --target zeb_e2e_tests -j2 > /dev/null
ZEB_UPDATE_GOLDEN=1 "$build/tests/e2e/zeb_e2e_tests" --gtest_filter='Named/Scenarios.*' --gtest_brief=1
git -C "$root" status --short -- tests/golden
