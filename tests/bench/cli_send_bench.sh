#!/usr/bin/env bash
# Time of pagelark-cli (Linux build) against curl in the same run, on the local stand-in:
#   send --dry-run         (process start, settings, checks; no request)
#   send                   (status request, then sms.php: what the message window does)
#   curl sms.php           (the same send request alone, one curl process)
#   curl status + sms.php  (the same two requests, two curl processes)
# Each figure is the mean wall time of a whole process run, and its ratio to curl's one request.
# Usage: tests/bench/cli_send_bench.sh [runs]   (needs the native build; starts its own stand-in
# on STANDIN_PORT_BASE, default 8443)
set -u
. "$(dirname "$0")/../../scripts/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
runs=${1:-20}
cli="$BUILD/native/pagelark-cli"
[ -x "$cli" ] || die "build the native configuration first ($cli)"
trap stop_standin EXIT
start_standin
curl -s -o /dev/null -d '{"user":"bench","password":"bench","mobile":"+491709999999","email":"bench@example.org","credits":1000000,"acctyp":"11111"}' "$STANDIN_ADMIN/admin/accounts"

work=$(mktemp -d)
trap 'stop_standin; rm -rf "$work"' EXIT
mkdir -p "$work/pagelark"
password_hex=$(printf 'bench\n' | "$cli" encode-password | sed 's/^UserPassword=//')
cat >"$work/pagelark/pagelark.ini" <<INI
[Settings]
UserName = bench
UserPassword = $password_hex
UserLandCode = +49
[Installation]
PrimaryServer = $STANDIN_PRIMARY
SecondaryServer = $STANDIN_SECONDARY
CaFile = $STANDIN_CERTS/ca.crt
INI
chmod 600 "$work/pagelark/pagelark.ini"
export XDG_CONFIG_HOME="$work" XDG_STATE_HOME="$work/state"

text="Bench message"
base="https://$STANDIN_PRIMARY/plugin"
sms="$base/sms.php?user=bench&password=bench&send_time=&recipients=+491701111111&cc_to_mail=&perm_mail_copy=&message=Bench%20message&gmt=1&rply=0&senderid=0&flash=0"
status="$base/status.php?user=bench&password=bench&version=1.%200.%200.%201&lang=en"
curl_get() { curl -s -o /dev/null --cacert "$STANDIN_CERTS/ca.crt" -u telvoro:zk_m4tWa8e "$1"; }

mean_seconds() {  # command...: mean wall seconds of $runs runs
    local start end i
    "$@" >/dev/null 2>&1 || die "failed: $*"
    start=$(date +%s.%N)
    for i in $(seq "$runs"); do "$@" >/dev/null 2>&1; done
    end=$(date +%s.%N)
    echo "$start $end $runs" | awk '{ printf "%.6f\n", ($2 - $1) / $3 }'
}
curl_two() { curl_get "$status" && curl_get "$sms"; }

dry=$(mean_seconds "$cli" send --dry-run --to "0170 1111111" "$text")
real=$(mean_seconds "$cli" send --to "0170 1111111" "$text")
one=$(mean_seconds curl_get "$sms")
two=$(mean_seconds curl_two)

printf '%-34s %10s %8s\n' "($runs runs each)" "seconds" "x curl"
for row in "pagelark-cli send --dry-run:$dry" "pagelark-cli send (status + sms):$real" \
           "curl sms.php:$one" "curl status.php + sms.php:$two"; do
    printf '%-34s %10.4f %8.2f\n' "${row%%:*}" "${row##*:}" "$(awk -v a="${row##*:}" -v b="$one" 'BEGIN { print a / b }')"
done
