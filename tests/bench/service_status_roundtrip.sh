#!/usr/bin/env bash
# One status round trip through Pagelark's WinInet transport under Wine against the stand-in,
# versus curl against the same server; prints both averages and their ratio.
# Needs both builds ($PAGELARK_BUILD/{native,windows}). Usage: service_status_roundtrip.sh [requests]
set -u
. "$(dirname "$0")/../../scripts/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
requests=${1:-50}
trap 'stop_standin; stop_wine' EXIT
start_xvfb
prepare_prefix
start_standin
export STANDIN_ADMIN STANDIN_PRIMARY STANDIN_SECONDARY STANDIN_WEB STANDIN_SELFSIGNED
curl -s -o /dev/null -X POST "$STANDIN_ADMIN/admin/reset"
output=$(PAGELARK_BENCH_REQUESTS=$requests wine "$BUILD/windows/win_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='ServiceBenchmark.*' 2>&1)
pagelark=$(sed -n 's/^pagelark_status_seconds \([0-9.]*\).*/\1/p' <<<"$output")
[ -n "$pagelark" ] || { echo "$output"; die "the Pagelark round trip did not run"; }
curl_seconds=$(standin_curl_status_seconds "$requests" bench bench)
awk -v p="$pagelark" -v c="$curl_seconds" -v n="$requests" 'BEGIN {
    printf "status round trip, %d requests each:\n", n
    printf "  Pagelark (WinInet under Wine): %.2f ms\n", p * 1000
    printf "  curl:                          %.2f ms\n", c * 1000
    printf "  ratio Pagelark / curl:         %.1f\n", p / c }'
