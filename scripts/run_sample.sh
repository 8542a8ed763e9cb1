#!/bin/sh
# Records the sample client with ZebScribe and replays the recording against
# the echo backend, then prints a short summary.
#   scripts/run_sample.sh
# Configures and builds in build/ (or $BUILD_DIR); records and replays in a
# fresh scratch directory that is removed afterwards. CC picks the C compiler
# for the written program (default: cc).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac

cmake -S "$root" -B "$build" > /dev/null
cmake --build "$build" --target ZebScribe ZebEcho sample_client -j2 > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Record: the client loads ZebScribe, which writes scribe_output/.
"$build/examples/sample_client" "$build/libZebScribe.so"

# Replay: the written program, compiled against the API headers and linked with
# the echo backend, runs next to its data file; the echo backend logs each call.
cd scribe_output
echo_dir="$build/tools/echo"
"${CC:-cc}" -std=c11 -I "$root/include" scribe_output.c -o replay \
  "$echo_dir/libZebEcho.so" "-Wl,-rpath,$echo_dir"
status=0
ZEB_ECHO_LOG=echo_calls.log ./replay > replay_output.txt 2>&1 || status=$?

calls=0
[ -f echo_calls.log ] && calls=$(wc -l < echo_calls.log | tr -d ' ')
bytes=$(wc -c < params.bin | tr -d ' ')
echo "calls replayed:  $calls"
echo "bytes read back: $bytes"
echo "result:          $status"
if [ "$status" -ne 0 ]; then
  cat replay_output.txt
fi
exit "$status"
