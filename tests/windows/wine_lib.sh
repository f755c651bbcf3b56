# Helpers for run_wine_tests.sh: result counting, the Wine prefix, Xvfb.
# Sourced, not run. Everything is kept under $WORK, which the caller removes.

PASSED=0
FAILED=0

pass() { PASSED=$((PASSED + 1)); printf 'PASS  %s\n' "$*"; }
fail() { FAILED=$((FAILED + 1)); printf 'FAIL  %s\n' "$*"; }
# check DESCRIPTION COMMAND...: one result line per check.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
note() { printf '....  %s\n' "$*"; }

require_tools() {
    local missing=()
    for tool in "$@"; do command -v "$tool" >/dev/null 2>&1 || missing+=("$tool"); done
    if ((${#missing[@]})); then
        echo "missing tools: ${missing[*]} (see docs/windows.md for the packages)" >&2
        return 1
    fi
}

same_bytes() { cmp -s "$1" "$2"; }

# A private ja_JP.UTF-8 locale: ACP 932 and Japanese captions in Wine, while
# Unix paths stay UTF-8 (LC_ALL=ja_JP.UTF-8 without the locale breaks them).
make_locale() {
    mkdir -p "$WORK/locale"
    localedef -i ja_JP -f UTF-8 "$WORK/locale/ja_JP.UTF-8" >/dev/null 2>&1 || \
        [ -d "$WORK/locale/ja_JP.UTF-8" ]
}

# A fresh prefix with fonts-wine's fonts linked in (Debian's Wine does not look
# for them where they are installed) and the registry entries of wine-setup.reg.txt.
make_prefix() {
    export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    env -u DISPLAY timeout 120 wineboot -i >"$WORK/wineboot.log" 2>&1 </dev/null || return 1
    ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    sed 's/$/\r/' "$HERE/wine-setup.reg.txt" | iconv -f UTF-8 -t UTF-16 >"$WORK/wine-setup.reg"
    env -u DISPLAY timeout 60 wine reg import "$(winepath -w "$WORK/wine-setup.reg")" \
        >"$WORK/reg.log" 2>&1 </dev/null || return 1
    # No headless server may survive into the X phase: windows would fail.
    env -u DISPLAY timeout 60 wineserver -w
}

# Xvfb plus a persistent Wine server, both with their output away from any
# pipe of the caller (they would hold it open).
start_x() {
    local n=90 i
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 </dev/null &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || return 1
    wineserver -p >/dev/null 2>&1 </dev/null
    timeout 60 wine wineboot >/dev/null 2>&1 </dev/null
}

cleanup() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX}" ] && timeout 30 wineserver -k >/dev/null 2>&1
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${WORK:-}" ] && [ -z "${KEEP_WORK:-}" ] && rm -rf "$WORK"
}

# wait_or_kill PID SECONDS: the process's exit status, or 124 after killing it.
wait_or_kill() {
    local pid=$1 limit=$2 i
    for ((i = 0; i < limit * 10; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return $?
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 124
}
