# Starting and stopping the local Telvoro stand-in (the service the program talks to in runs and tests).
# Sets STANDIN_PRIMARY, STANDIN_SECONDARY, STANDIN_WEB (host:port), STANDIN_ADMIN (http://127.0.0.1:port),
# STANDIN_SELFSIGNED (host:port), STANDIN_UPDATE (the loopback address whose port 80 serves updates) and
# STANDIN_STATE (its state folder; files in its "updates" are served under /pagelark/updates/).
# Ports from STANDIN_PORT_BASE: primary HTTPS = base, secondary HTTPS = base+1, web site (HTTP) = base+2,
# admin (HTTP, 127.0.0.1 only) = base+3, HTTPS with a self-signed certificate = base+4.
STANDIN_BIN="$BUILD/native/standin/telvoro-standin"
STANDIN_STATE="$BUILD/standin"
STANDIN_CERTS="$BUILD/standin/certs"

# The test CA and the server certificates (made once; keys never leave the build tree).
make_standin_certs() {
    "$ROOT/standin/make-certs.sh" "$STANDIN_CERTS" || die "could not make the stand-in's test certificates"
}

start_standin() {
    local base=${STANDIN_PORT_BASE:-8443}
    STANDIN_PRIMARY=localhost:$base
    STANDIN_SECONDARY=localhost:$((base + 1))
    STANDIN_WEB=localhost:$((base + 2))
    STANDIN_ADMIN=http://127.0.0.1:$((base + 3))
    STANDIN_SELFSIGNED=localhost:$((base + 4))
    # Update downloads go to port 80: each port base gets a loopback address of its own for that.
    STANDIN_UPDATE=127.0.0.$(( (base / 100) % 200 + 20 ))
    export STANDIN_PRIMARY STANDIN_SECONDARY STANDIN_WEB STANDIN_ADMIN STANDIN_SELFSIGNED STANDIN_UPDATE STANDIN_STATE
    if [ ! -x "$STANDIN_BIN" ]; then
        say "no service stand-in built yet; the program will find no server"
        return 0
    fi
    stop_standin
    mkdir -p "$STANDIN_STATE"
    make_standin_certs
    "$STANDIN_BIN" --state "$STANDIN_STATE" --certs "$STANDIN_CERTS" --port-base "$base" --update-host "$STANDIN_UPDATE" \
        >"$STANDIN_STATE/standin.log" 2>&1 </dev/null &
    STANDIN_PID=$!
    local _
    for _ in $(seq 100); do
        if curl -s -o /dev/null --max-time 1 "$STANDIN_ADMIN/admin/requests?path=/none"; then
            say "service stand-in up (pid $STANDIN_PID): https://$STANDIN_PRIMARY, admin $STANDIN_ADMIN/"
            stage_update_packages
            return 0
        fi
        kill -0 "$STANDIN_PID" 2>/dev/null || break
        sleep 0.1
    done
    cat "$STANDIN_STATE/standin.log" >&2
    stop_standin
    die "the service stand-in did not come up on ports $base-$((base + 4))"
}

# The packages the stand-in serves from http://$STANDIN_UPDATE/pagelark/updates/: the following
# version signed, unsigned, signed but changed afterwards (one byte of its summary stream), and
# signed by a self-made certificate.
stage_update_packages() {
    local built="$BUILD/windows/installer" updates="$STANDIN_STATE/updates"
    [ -f "$built/Pagelark-next.msi" ] || return 0
    mkdir -p "$updates"
    cp "$built/Pagelark-next.msi" "$built/Pagelark-next-unsigned.msi" "$updates/"
    python3 - "$built/Pagelark-next.msi" "$updates/Pagelark-next-tampered.msi" <<'PY' || die "cannot make the tampered package"
import sys
data = open(sys.argv[1], "rb").read()
marker = b"Pagelark sends SMS"
assert data.count(marker) == 1, "marker not found once"
open(sys.argv[2], "wb").write(data.replace(marker, b"Pagelark sends XMS"))
PY
    # Signed, but by a certificate no root vouches for.
    local keys="$STANDIN_STATE/untrusted-signer"
    mkdir -p "$keys"
    [ -s "$keys/self.crt" ] || openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -keyout "$keys/self.key" \
        -out "$keys/self.crt" -subj "/O=Orvane/CN=Orvane Test Code Signing" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
    osslsigncode sign -certs "$keys/self.crt" -key "$keys/self.key" -h sha256 -in "$built/Pagelark-next-unsigned.msi" \
        -out "$updates/Pagelark-next-untrusted.msi.tmp" >/dev/null && mv "$updates/Pagelark-next-untrusted.msi.tmp" "$updates/Pagelark-next-untrusted.msi" \
        || die "cannot make the untrusted package"
}

stop_standin() {
    if [ -n "${STANDIN_PID:-}" ]; then
        kill "$STANDIN_PID" 2>/dev/null && wait "$STANDIN_PID" 2>/dev/null
        STANDIN_PID=
    fi
    return 0
}

# Average seconds of one status.php round trip by curl against the primary server, a new
# connection each time as the program makes them (curl's own time, without its process start).
# Usage: standin_curl_status_seconds [requests] [user] [password]
standin_curl_status_seconds() {
    local n=${1:-20} user=${2:-bench} password=${3:-bench} i
    for i in $(seq "$n"); do
        curl -s -o /dev/null -w '%{time_total}\n' --cacert "$STANDIN_CERTS/ca.crt" -u telvoro:zk_m4tWa8e \
            "https://$STANDIN_PRIMARY/plugin/status.php?user=$user&password=$password&version=1.0.0.1&lang=en"
    done | awk '{ s += $1 } END { if (NR) printf "%.6f\n", s / NR }'
}
