#!/bin/sh
# The frame alone is a working program: record nothing but the start, then
# compile the model file and run it where its data file lies.
# Usage: frame_program_test.sh <driver> <library> <include dir> <C compiler> [compiler flags...]
# (sanitized builds pass their sanitizer flags, which the replay needs to load the library)
set -eu
driver=$1 library=$2 include=$3 compiler=$4
shift 4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$driver" "$library"
test -s scribe_output/scribe_output.c
test -f scribe_output/params.bin

cd scribe_output
"$compiler" -std=c11 -Wall -Werror "$@" -I"$include" scribe_output.c -o replay \
  "$library" -Wl,-rpath,"$(dirname "$library")"
./replay
./replay --logging verbose
