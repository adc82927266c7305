#!/usr/bin/env bash
# Sets up everything a fresh Debian 12 machine needs and runs every test: the native unit tests,
# the unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer and under
# ThreadSanitizer, the Windows tests under Wine and the black-box tests of the real program.
# Ends with one summary line per part and one for all, counting every test case.
set -u
. "$(dirname "$0")/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
cd "$ROOT"
mkdir -p "$BUILD"
ensure_packages
trap 'stop_standin; stop_wine' EXIT
RESULTS="$BUILD/results"
rm -rf "$RESULTS"; mkdir -p "$RESULTS"
SUMMARY="$RESULTS/summary.txt"
: >"$SUMMARY"
summarize() { python3 "$ROOT/scripts/lib/summarize.py" "$@" | tee -a "$SUMMARY"; }

build_preset native
say "native tests"
ctest --test-dir "$BUILD/native" --output-on-failure -j 2 --timeout 120 --output-junit "$RESULTS/native.xml" 2>&1 \
    | tee "$BUILD/ctest-native.log" | grep -Ev '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed'

# The unit tests under the sanitizers: one GoogleTest program each, counted case by case.
sanitized_unit_tests() {   # $1 = preset
    build_preset "$1"
    say "unit tests under the $1 build"
    mkdir -p "$RESULTS/$1"
    "$BUILD/$1/unit_tests" --gtest_output="xml:$RESULTS/$1/unit_tests.xml" >"$BUILD/unit-tests-$1.log" 2>&1
    local rc=$?
    [ "$rc" = 0 ] || tail -60 "$BUILD/unit-tests-$1.log"
    summarize "$1" --gtest-dir "$RESULTS/$1" --program "unit_tests:$rc" >/dev/null
}
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 sanitized_unit_tests sanitize
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 sanitized_unit_tests tsan

build_preset windows
start_xvfb
prepare_prefix
start_standin
install_program "$STANDIN_PRIMARY" "$STANDIN_SECONDARY" "$STANDIN_WEB"
export PAGELARK_EXE="$PROGRAM_DIR_WIN\\Pagelark.exe" PAGELARK_DIR="$PROGRAM_DIR_WIN"
export STANDIN_ADMIN STANDIN_PRIMARY STANDIN_SECONDARY STANDIN_WEB STANDIN_UPDATE
PAGELARK_MSI_DIR=$(winepath -w "$BUILD/windows/installer" 2>/dev/null); export PAGELARK_MSI_DIR
export PAGELARK_SHOTS="$BUILD/screenshots"
mkdir -p "$PAGELARK_SHOTS" "$RESULTS/windows"
# Each Windows test program writes its cases as <program>.xml (a Windows path for Wine).
export GTEST_OUTPUT="xml:Z:$(printf '%s' "$RESULTS/windows/" | tr / '\\')"
say "Windows tests under Wine"
ctest --test-dir "$BUILD/windows" --output-on-failure -j 1 --timeout 900 --output-junit "$RESULTS/windows-ctest.xml" 2>&1 \
    | tee "$BUILD/ctest-windows.log"
unset GTEST_OUTPUT

say "summary"
summarize native --ctest-junit "$RESULTS/native.xml" >/dev/null
summarize windows --ctest-junit "$RESULTS/windows-ctest.xml" --gtest-dir "$RESULTS/windows" >/dev/null
cat "$SUMMARY"
awk '{ p += $2; f += $4; s += $6 } END { printf "all: %d passed, %d failed, %d skipped\n", p, f, s; exit (f > 0 || NR < 4) }' \
    "$SUMMARY"
