#!/usr/bin/env bash
# Builds ZebScribe and runs every test in five stages:
#   linux     native build + ctest (with the graph page in Debian's chromium)
#   sanitize  native build with AddressSanitizer and UBSan + ctest
#   threads   ThreadSanitizer build; 8 client threads x 500 rounds recorded and replayed
#   fuzz      clang build of the libFuzzer harnesses (ASan+UBSan); each fuzzes 15 s
#   windows   64-bit Windows cross build (MinGW-w64) + ctest under wine
# Usage: scripts/run_all_tests.sh [linux|sanitize|threads|fuzz|windows]...   (no argument: all)
# Build trees go to build-ci/ in the source tree (ZEB_CI_BUILD_ROOT overrides).
# Exits non-zero when any stage fails.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${ZEB_CI_BUILD_ROOT:-$ROOT/build-ci}
JOBS=${ZEB_JOBS:-2}
WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver

# libbenchmark-dev: the bench suite is built (never run) in the native stages.
NATIVE_PACKAGES=(cmake make g++ libgtest-dev googletest libbenchmark-dev)
# chromium: the graph page's test drives it (through playwright-core, which
# npm installs into the build tree); graphviz: zebscribe graph --format svg.
LINUX_PACKAGES=(chromium graphviz)
FUZZ_PACKAGES=(clang)
FUZZ_HARNESSES=(zeb_fuzz_initialize zeb_fuzz_tensors zeb_fuzz_configs
  zeb_fuzz_recordings)
WINDOWS_PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix wine64)

declare -a STAGES SUMMARY CTEST_LINES
TOTAL_PASSED=0
TOTAL_FAILED=0
FAILED_STAGES=0

log() { printf '\n=== %s\n' "$*"; }

# Installs the Debian packages that are missing, when we are root and may.
ensure_packages() {
  local missing=() package
  command -v dpkg-query > /dev/null || return 0
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (install them as root): ${missing[*]}" >&2
    return 1
  fi
  log "installing ${missing[*]}"
  mkdir -p "$BUILD_ROOT"
  export DEBIAN_FRONTEND=noninteractive
  quietly "$BUILD_ROOT/apt.log" apt-get update -q &&
    quietly "$BUILD_ROOT/apt.log" apt-get install -y -q "${missing[@]}"
}

# Runs a command with its output in a log file; shows the end of it on failure.
quietly() {
  local logfile=$1
  shift
  if ! "$@" > "$logfile" 2>&1; then
    tail -n 80 "$logfile"
    echo "failed: $* (full output in $logfile)" >&2
    return 1
  fi
}

# configure_and_build DIR [CMAKE_OPTION...] [-- TARGET...]
configure_and_build() {
  local dir=$1 options=() targets=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  mkdir -p "$dir"
  quietly "$dir/configure.log" cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Debug "${options[@]}" &&
    quietly "$dir/build.log" cmake --build "$dir" -j "$JOBS" "${targets[@]}"
}

# Runs ctest in a build tree and adds its counts to the totals.
run_ctest() {
  local stage=$1 dir=$2 status summary options=()
  case $stage in
    # Wine has been seen, once, to end a program with code 1 before it started;
    # a test under wine gets a second run, so only a fault that repeats fails it.
    windows) options=(--repeat until-pass:2) ;;
    threads) options=(-R '^concurrent_clients$') ;;
    # Here a missing browser fails the graph page's test rather than skipping it.
    linux) export ZEB_REQUIRE_BROWSER=1 ;;
    fuzz) options=(-R '^fuzz_') ;;
  esac
  ctest --test-dir "$dir" --output-on-failure -j "$JOBS" "${options[@]}" 2>&1 | tee "$dir/ctest.log"
  status=${PIPESTATUS[0]}
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$dir/ctest.log" | tail -n 1)
  if [ -z "$summary" ]; then
    CTEST_LINES+=("$stage: ctest ran no test")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
    return 1
  fi
  local failed total
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<< "$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<< "$summary")
  TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
  TOTAL_FAILED=$((TOTAL_FAILED + failed))
  CTEST_LINES+=("$stage: $summary")
  return "$status"
}

# Times a stage's build and tests; a failed build counts as one failure.
run_stage() {
  local stage=$1 build_function=$2 dir=$3 start built finished result=passed
  log "$stage: configure and build in $dir"
  start=$SECONDS
  if "$build_function" "$dir"; then
    built=$SECONDS
    log "$stage: ctest"
    run_ctest "$stage" "$dir" || result=FAILED
  else
    built=$SECONDS
    result="FAILED (build)"
    CTEST_LINES+=("$stage: not tested, the build failed")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
  finished=$SECONDS
  [ "$result" = passed ] || FAILED_STAGES=$((FAILED_STAGES + 1))
  SUMMARY+=("$(printf '%-9s build %4d s   tests %4d s   %s' "$stage" $((built - start)) $((finished - built)) "$result")")
}

build_linux() { configure_and_build "$1"; }

build_sanitize() { configure_and_build "$1" -DZEB_SANITIZE=ON; }

build_threads() { configure_and_build "$1" -DZEB_TSAN=ON -- zeb_e2e_tests; }

build_fuzz() {
  configure_and_build "$1" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZEB_FUZZ=ON \
    -- "${FUZZ_HARNESSES[@]}"
}

# The Windows tests use host programs (the end-to-end orchestrator, the native
# scenario runner and library, zebscribe) from the native tree, so those are built first.
build_windows() {
  local dir=$1 host=$BUILD_ROOT/linux
  configure_and_build "$host" -- zeb_e2e_tests zeb_scenario_runner sample_client ZebScribe ZebEcho \
    zebscribe || return 1
  configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DZEB_HOST_BUILD_DIR="$host" || return 1
  prepare_wine_prefix "$dir/wineprefix"
}

# One quiet wine start-up before the tests, so none of them pays for it.
prepare_wine_prefix() {
  local prefix=$1
  WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX="$prefix" \
    quietly "$(dirname "$prefix")/wineboot.log" "$WINE_LOADER" wineboot -i &&
    WINEPREFIX="$prefix" "$WINE_SERVER" -w
}

stop_wine() {
  local prefix=$BUILD_ROOT/windows/wineprefix
  [ -d "$prefix" ] && WINEPREFIX="$prefix" "$WINE_SERVER" -k 2> /dev/null
  return 0
}

main() {
  STAGES=("$@")
  [ ${#STAGES[@]} -eq 0 ] && STAGES=(linux sanitize threads fuzz windows)
  local stage packages=("${NATIVE_PACKAGES[@]}")
  for stage in "${STAGES[@]}"; do
    case $stage in
      linux) packages+=("${LINUX_PACKAGES[@]}")
        command -v node > /dev/null && command -v npm > /dev/null || packages+=(nodejs npm) ;;
      sanitize | threads) ;;
      fuzz) packages+=("${FUZZ_PACKAGES[@]}") ;;
      windows) packages+=("${WINDOWS_PACKAGES[@]}") ;;
      *) echo "unknown stage: $stage (linux, sanitize, threads, fuzz, windows)" >&2; exit 2 ;;
    esac
  done
  ensure_packages "${packages[@]}" || exit 1
  trap stop_wine EXIT

  local begin=$SECONDS
  for stage in "${STAGES[@]}"; do
    run_stage "$stage" "build_$stage" "$BUILD_ROOT/$stage"
  done

  log "summary (total $((SECONDS - begin)) s)"
  printf '%s\n' "${SUMMARY[@]}"
  echo
  printf '%s\n' "${CTEST_LINES[@]}"
  echo "Total: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
  [ "$FAILED_STAGES" -eq 0 ]
}

main "$@"
