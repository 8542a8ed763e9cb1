#!/bin/sh
# ctest's graph_page_browser: records the sample client and two networks of the
# network:N scenario (100 and 10,000 nodes), makes their pages with zebscribe
# graph, and drives them in Debian's chromium through playwright-core (from
# npm, at the version package-lock.json pins, installed into WORK).
#   run_graph_page_test.sh ZEBSCRIBE SAMPLE_CLIENT SCENARIO_RUNNER SCRIBE_LIB ECHO_LIB WORK
# Exits 77 (skipped) when chromium, node or npm is missing, unless
# ZEB_REQUIRE_BROWSER=1 (scripts/run_all_tests.sh), which makes that a failure.
set -eu
tool=$1 sample=$2 runner=$3 scribe=$4 echo_lib=$5 work=$6
here=$(cd "$(dirname "$0")" && pwd)

for needed in /usr/bin/chromium node npm; do
  if ! command -v "$needed" > /dev/null; then
    echo "graph_page_browser: $needed is missing (scripts/run_all_tests.sh installs it)"
    [ "${ZEB_REQUIRE_BROWSER:-0}" = 1 ] && exit 1
    exit 77
  fi
done

mkdir -p "$work/npm"
if ! cmp -s "$here/package-lock.json" "$work/npm/package-lock.json" ||
  [ ! -f "$work/npm/node_modules/playwright-core/package.json" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/npm/"
  (cd "$work/npm" && npm ci --no-audit --no-fund --loglevel=error)
fi

record() {  # record NAME COMMAND...: runs COMMAND in WORK/NAME, which it empties first
  name=$1
  shift
  rm -rf "${work:?}/$name" && mkdir -p "$work/$name"
  (cd "$work/$name" && "$@" > run.log)
}
record sample "$sample" "$scribe"
record direct env ZEB_ECHO_LOG=calls.log "$sample" "$echo_lib"
record network100 "$runner" "$scribe" network:100
record network10000 "$runner" "$scribe" network:10000
for name in sample network100 network10000; do
  "$tool" graph "$work/$name/scribe_output" --format html -o "$work/$name.html"
done

# Beside its node_modules, where the script's import finds playwright-core.
cp "$here/graph_page_test.mjs" "$work/npm/"
cd "$work/npm"
exec node graph_page_test.mjs "$work/sample.html" "$work/direct/calls.log" \
  "$work/network100.html" "$work/network10000.html"
