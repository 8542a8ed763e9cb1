#!/bin/sh
# Records the sample client with ZebScribe, replays the recording against the
# echo backend and keeps everything for reading:
#   scripts/run_sample.sh
# Configures and builds in build/ (or $BUILD_DIR) and writes into
# $BUILD_DIR/sample/ (or $SAMPLE_DIR), which is emptied first:
#   scribe_output/scribe_output.c   the written program
#   scribe_output/params.bin        the data it reads back
#   scribe_output/replay            the program compiled and linked with the echo backend
#   scribe_output/echo_calls.log    the calls the replay made, one line each
#   scribe_output/replay_output.txt what the replay printed
#   direct_calls.log                the calls of the sample client run straight
#                                   against the echo backend, for comparison
# CC picks the C compiler for the written program (default: cc). The exit
# status is the replay's.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
out=${SAMPLE_DIR:-$build/sample}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac

cmake -S "$root" -B "$build" > /dev/null
cmake --build "$build" --target ZebScribe ZebEcho sample_client -j2 > /dev/null

rm -rf "$out"
mkdir -p "$out/direct"
echo_dir="$build/tools/echo"

# The client straight against the echo backend: the calls a replay must repeat.
(cd "$out/direct" &&
  ZEB_ECHO_LOG=echo_calls.log "$build/examples/sample_client" "$echo_dir/libZebEcho.so" > /dev/null)
mv "$out/direct/echo_calls.log" "$out/direct_calls.log"
rmdir "$out/direct"

# Record: the client loads ZebScribe, which writes scribe_output/.
cd "$out"
"$build/examples/sample_client" "$build/libZebScribe.so" > /dev/null

# Replay: the written program, compiled against the API headers and linked with
# the echo backend, runs next to its data file; the echo backend logs each call.
cd scribe_output
"${CC:-cc}" -std=c11 -I "$root/include" scribe_output.c -o replay \
  "$echo_dir/libZebEcho.so" "-Wl,-rpath,$echo_dir"
status=0
ZEB_ECHO_LOG=echo_calls.log ./replay > replay_output.txt 2>&1 || status=$?

calls=0
[ -f echo_calls.log ] && calls=$(wc -l < echo_calls.log | tr -d ' ')
direct=$(wc -l < ../direct_calls.log | tr -d ' ')
bytes=$(wc -c < params.bin | tr -d ' ')
# Every buffer the client handed in appears in the direct log as buf(SIZE,HASH).
handed=$(grep -o 'buf([0-9]*,' ../direct_calls.log | tr -dc '0-9\n' | awk '{s += $1} END {print s + 0}')
echo "calls made directly:    $direct"
echo "calls replayed:         $calls"
echo "bytes handed in:        $handed"
echo "bytes read back:        $bytes"
echo "result:                 $status"
if [ -f echo_calls.log ] && ! cmp -s ../direct_calls.log echo_calls.log; then
  echo "direct run (<) and replay (>) differ:"
  diff ../direct_calls.log echo_calls.log | grep '^[<>]' | cut -c1-160 || true
fi
echo "kept in:                $out"
if [ "$status" -ne 0 ]; then
  cat replay_output.txt
fi
exit "$status"
