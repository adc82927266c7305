#!/usr/bin/env bash
# Update download throughput: WinInet under Wine (as the update window reads) against curl, the
# same package from the stand-in's update address in the same run; best of N each.
# Needs both builds ($PAGELARK_BUILD/{native,windows}). Usage: update_download.sh [runs]
set -u
. "$(dirname "$0")/../../scripts/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
runs=${1:-5}
trap 'stop_standin; stop_wine' EXIT
start_xvfb
prepare_prefix
start_standin
package="$STANDIN_STATE/updates/Pagelark-next.msi"
[ -f "$package" ] || die "no package in $STANDIN_STATE/updates (build the Windows configuration first)"
path=/pagelark/updates/Pagelark-next.msi
output=$(wine "$BUILD/windows/update_download_winbench.exe" "$STANDIN_UPDATE" "$path" "$runs" 2>&1)
wininet=$(sed -n 's/^wininet_download_seconds \([0-9.]*\).*/\1/p' <<<"$output")
[ -n "$wininet" ] || { echo "$output"; die "the WinInet download did not run"; }
curl_best=$(for _ in $(seq "$runs"); do curl -s -o /dev/null -w '%{time_total}\n' "http://$STANDIN_UPDATE$path"; done | sort -n | head -1)
bytes=$(stat -c %s "$package")
awk -v w="$wininet" -v c="$curl_best" -v b="$bytes" -v n="$runs" 'BEGIN {
    printf "update download of %d bytes, best of %d:\n", b, n
    printf "  WinInet under Wine: %.1f ms, %.1f MB/s\n", w * 1000, b / w / 1e6
    printf "  curl:               %.1f ms, %.1f MB/s\n", c * 1000, b / c / 1e6
    printf "  ratio WinInet / curl (time): %.1f\n", w / c }'
