#!/usr/bin/env bash
# Sets up everything a fresh Debian 12 machine needs and runs every test: the native unit tests,
# the Windows tests under Wine and the black-box tests of the real program. Ends with the summaries.
set -u
. "$(dirname "$0")/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
cd "$ROOT"
mkdir -p "$BUILD"
ensure_packages
trap 'stop_standin; stop_wine' EXIT

build_preset native
say "native tests"
ctest --test-dir "$BUILD/native" --output-on-failure -j 2 --timeout 120 2>&1 | tee "$BUILD/ctest-native.log" | grep -Ev '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed'
native_rc=${PIPESTATUS[0]}

build_preset windows
start_xvfb
prepare_prefix
start_standin
install_program "$STANDIN_PRIMARY" "$STANDIN_SECONDARY" "$STANDIN_WEB"
export PAGELARK_EXE="$PROGRAM_DIR_WIN\\Pagelark.exe" PAGELARK_DIR="$PROGRAM_DIR_WIN"
export STANDIN_ADMIN STANDIN_PRIMARY STANDIN_SECONDARY STANDIN_WEB
export PAGELARK_SHOTS="$BUILD/screenshots"
mkdir -p "$PAGELARK_SHOTS"
say "Windows tests under Wine"
ctest --test-dir "$BUILD/windows" --output-on-failure -j 1 --timeout 300 2>&1 | tee "$BUILD/ctest-windows.log"
windows_rc=${PIPESTATUS[0]}

summary() {  # $1 log: prints "passed failed" from ctest's closing line
    sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -1
}
total_pass=0; total_fail=0
for part in native windows; do
    read -r failed total <<<"$(summary "$BUILD/ctest-$part.log")"
    [ -z "${total:-}" ] && { failed=1; total=1; }
    echo "$part: $((total - failed)) passed, $failed failed"
    total_pass=$((total_pass + total - failed)); total_fail=$((total_fail + failed))
done
echo "all: $total_pass passed, $total_fail failed"
[ "$native_rc" = 0 ] && [ "$windows_rc" = 0 ] && [ "$total_fail" = 0 ]
