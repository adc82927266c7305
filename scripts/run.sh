#!/usr/bin/env bash
# Sets up everything and starts Pagelark under Wine against the local service stand-in:
# on your $DISPLAY when there is one, otherwise in Xvfb (then it saves a screenshot and says where).
set -u
. "$(dirname "$0")/lib/common.sh"
. "$ROOT/scripts/lib/standin.sh"
cd "$ROOT"
mkdir -p "$BUILD"
ensure_packages
build_preset native
build_preset windows
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    say "using your display $DISPLAY"
else
    start_xvfb
    HEADLESS=1
fi
trap 'stop_standin; stop_wine' EXIT
prepare_prefix
start_standin
install_program "$STANDIN_PRIMARY" "$STANDIN_SECONDARY" "$STANDIN_WEB"
say "service stand-in: https://$STANDIN_PRIMARY (admin and phone inbox: $STANDIN_ADMIN/)"
say "starting Pagelark: its icon sits in the Wine desktop's taskbar; right-click it for New, Options, Exit"
wine "$PROGRAM_DIR/Pagelark.exe" "$@" </dev/null &
PAGELARK_PID=$!
if [ -n "${HEADLESS:-}" ]; then
    sleep 4
    # Open a message window so the screenshot shows something, as "New" from the icon would.
    wine "$PROGRAM_DIR/Pagelark.exe" </dev/null >/dev/null 2>&1
    sleep 3
    import -display "$DISPLAY" -window root "$BUILD/screenshot.png" 2>/dev/null \
        && say "screenshot: $BUILD/screenshot.png (again: import -display $DISPLAY -window root shot.png)"
    say "Pagelark runs headless on $DISPLAY; press Ctrl+C to stop"
fi
wait $PAGELARK_PID
