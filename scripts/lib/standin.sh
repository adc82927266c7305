# Starting and stopping the local Telvoro stand-in (the service the program talks to in runs and tests).
# Sets STANDIN_PRIMARY, STANDIN_SECONDARY, STANDIN_WEB (host:port) and STANDIN_ADMIN (http://127.0.0.1:port).
STANDIN_BIN="$BUILD/native/standin/telvoro-standin"
STANDIN_STATE="$BUILD/standin"

start_standin() {
    local base=${STANDIN_PORT_BASE:-8443}
    STANDIN_PRIMARY=localhost:$base
    STANDIN_SECONDARY=localhost:$((base + 1))
    STANDIN_WEB=localhost:$((base + 2))
    STANDIN_ADMIN=http://127.0.0.1:$((base + 3))
    if [ ! -x "$STANDIN_BIN" ]; then
        say "no service stand-in built yet; the program will find no server"
        return 0
    fi
    mkdir -p "$STANDIN_STATE"
    "$STANDIN_BIN" --state "$STANDIN_STATE" >"$STANDIN_STATE/standin.log" 2>&1 &
    STANDIN_PID=$!
}

stop_standin() {
    [ -n "${STANDIN_PID:-}" ] && kill "$STANDIN_PID" 2>/dev/null
    return 0
}
