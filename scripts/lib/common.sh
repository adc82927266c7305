# Shared by scripts/run.sh and scripts/test.sh: packages, builds, the project's Wine prefix, Xvfb.
# Source it; it defines functions only (and a few paths).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# PAGELARK_BUILD lets several checkouts or developers keep separate builds, prefixes and ports.
BUILD="${PAGELARK_BUILD:-$ROOT/build}"
export WINEPREFIX="$BUILD/wine"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko download prompts in a fresh prefix
PROGRAM_DIR_WIN='C:\Program Files\Pagelark'
PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Pagelark"

say()  { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }
die()  { printf '\033[31merror: %s\033[0m\n' "$*" >&2; exit 1; }

PACKAGES=(cmake make g++ python3 googletest libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb x11-utils xauth imagemagick librsvg2-bin
          libcpp-httplib-dev libssl-dev libsqlite3-dev openssl sqlite3 curl clang libclang-rt-14-dev
          iso-codes libphonenumber-dev procps psmisc wixl msitools osslsigncode python3-olefile
          libcurl4-openssl-dev   # pagelark-cli's transport on Linux
          libgnutls30    # Wine's TLS (WinInet over HTTPS) is built on GnuTLS
          dpkg-dev       # unpacks Hunspell's source package (tools/fetch_hunspell.sh)
          hunspell-de-de hunspell-en-us hunspell-es hunspell-fr-classical hunspell-it hunspell-nl
          fp-utils       # chmcmd compiles the help files
          libwine-dev    # oaidl.idl for widl: the Outlook add-in's type library
          locales)       # locale sources for the add-in tests' user languages (scripts/prefix.d/user-locales.sh)

# Hunspell is built from Debian's source package: a deb-src entry for the same archive (and
# release) the machine already installs its packages from.
SOURCES_ENTRY=/etc/apt/sources.list.d/pagelark-src.sources
ensure_source_entry() {
    grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && return 1
    grep -qs '^deb-src ' /etc/apt/sources.list && return 1
    [ "$(id -u)" = 0 ] || die "no deb-src entry for Debian's archive; run as root once so it can be added"
    local uri suite
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $2 !~ /^\[/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    [ -n "$uri" ] && [ -n "$suite" ] || die "cannot tell which Debian archive this machine uses"
    say "adding a deb-src entry for $suite ($SOURCES_ENTRY)"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$uri" "$suite" >"$SOURCES_ENTRY"
    return 0
}

ensure_packages() {
    local missing=()
    if ensure_source_entry; then
        apt-get update -qq || die "apt-get update failed: is the Debian mirror reachable?"
    fi
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    [ "$(id -u)" = 0 ] || die "packages missing (${missing[*]}); run as root or install them with apt-get"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || die "apt-get update failed: is the Debian mirror reachable?"
    apt-get install -y -qq "${missing[@]}" >/dev/null \
        || die "apt-get install ${missing[*]} failed"
}

build_preset() {   # $1 = native | windows
    say "building ($1)"
    cmake --preset "$1" -B "$BUILD/$1" >"$BUILD/configure-$1.log" 2>&1 \
        || { cat "$BUILD/configure-$1.log"; die "cmake configure ($1) failed"; }
    cmake --build "$BUILD/$1" -j 2 2>&1 | grep -Ev '^\[ *[0-9]+%\] (Building|Linking|Built)|^Consolidate|^Scanning' \
        || true
    [ "${PIPESTATUS[0]}" = 0 ] || die "build ($1) failed"
}

# A display for Wine: the user's, or a private Xvfb. Sets DISPLAY; XVFB_PID when we started one.
start_xvfb() {
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            xdpyinfo -display ":$n" >/dev/null 2>&1 && { export DISPLAY=":$n"; return 0; }
            kill -0 $XVFB_PID 2>/dev/null || break
            sleep 0.1
        done
    done
    die "could not start Xvfb"
}

# One persistent wineserver keeps every Wine start near 0.1 s. "wineserver -p" does nothing while
# another server of the prefix still runs, so the boot's own server must have ended first.
start_wineserver() {
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Waits (at most 60 s) for the prefix's running wineserver to end by itself, else ends it.
end_boot_session() {
    timeout 60 wineserver -w </dev/null >/dev/null 2>&1 && return 0
    say "the prefix's first wineserver did not end within 60 s; ending it"
    wineserver -k </dev/null >/dev/null 2>&1
    timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true
}
stop_wine() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    return 0
}

reg_add() { wine reg add "$@" /f </dev/null >/dev/null 2>&1 || die "wine reg add $* failed"; }

# The project's prefix, made once and reused while its stamp matches.
PREFIX_STAMP_VERSION=1
prepare_prefix() {
    local stamp="$WINEPREFIX/.pagelark-prefix" want
    want="$(wine --version 2>/dev/null) v$PREFIX_STAMP_VERSION"
    if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$want" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >"$BUILD/wineboot.log" 2>&1 || { cat "$BUILD/wineboot.log"; die "wineboot failed"; }
        # A new prefix's boot leaves two service managers in its (non-persistent) wineserver, and
        # in that session starting a service (rpcss, which every COM local-server activation needs)
        # hangs. Let that session end and boot once more in the persistent server.
        end_boot_session
        start_wineserver
        # A virtual desktop gives a taskbar with a notification area and avoids Wine's
        # 2-second stall when a window hides on a display without a window manager.
        reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
        reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x900
        echo "$want" >"$stamp"
    else
        start_wineserver
    fi
    local hook
    for hook in "$ROOT"/scripts/prefix.d/*.sh; do
        [ -f "$hook" ] && . "$hook"
    done
    return 0
}

# Copies the staged program folder into the prefix and writes the installation values.
install_program() {   # $1 = primary host[:port], $2 = secondary, $3 = web host
    mkdir -p "$PROGRAM_DIR"
    cp -r "$BUILD/windows/stage/." "$PROGRAM_DIR/"
    reg_add 'HKLM\Software\Orvane\Pagelark' /v PrimaryServer /d "$1"
    reg_add 'HKLM\Software\Orvane\Pagelark' /v SecondaryServer /d "$2"
    reg_add 'HKLM\Software\Orvane\Pagelark' /v WebServer /d "$3"
}
