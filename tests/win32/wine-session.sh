#!/usr/bin/env bash
# Starts or stops a Wine session for the Windows tests: a private Xvfb and a throwaway Wine prefix.
#   wine-session.sh start STATE_FILE   writes DISPLAY, WINEPREFIX and the pids into STATE_FILE
#   wine-session.sh stop STATE_FILE    ends the session and removes its folder
# A started session ends by itself 30 s after its last Wine program has exited.
set -euo pipefail

wine_tool() { # the 64-bit Wine programs; Debian's "wine" wrapper nags about a missing wine32
    local name=$1 candidate
    for candidate in "$(command -v "${name}64" || true)" "/usr/lib/wine/${name}64" "$(command -v "$name" || true)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return
        fi
    done
    echo "wine-session: $name not found (apt-get install wine wine64)" >&2
    exit 1
}

start_xvfb() { # prints the display; -displayfd lets Xvfb take a display that nobody else holds
    local dir=$1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
        if [ -s "$dir/display" ]; then
            echo ":$(head -n1 "$dir/display")"
            return
        fi
        sleep 0.1
    done
    cat "$dir/xvfb.log" >&2
    exit 1
}

# Waits for the session's Wine server to end, then removes everything the session made.
watch_session() {
    local state=$1
    "$WINESERVER" -w 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    # The state file may already describe a newer session: remove it only while it is still ours.
    if grep -qF "SESSION_DIR=$SESSION_DIR" "$state" 2>/dev/null; then
        rm -f "$state"
    fi
    case "$SESSION_DIR" in
    */quorvane-wine.*) rm -rf "$SESSION_DIR" ;;
    esac
}

# One Wine desktop window holds all Windows windows, so focus and stacking are Wine's alone: without a
# window manager, Wine's X11 driver waits two seconds for X focus events whenever a window is destroyed.
use_virtual_desktop() {
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
}

start() {
    local state=$1 dir display
    dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-wine.XXXXXX")
    display=$(start_xvfb "$dir")
    cat >"$state.tmp" <<STATE
SESSION_DIR=$dir
XVFB_PID=$(cat "$dir/xvfb.pid")
export DISPLAY=$display
export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE=$(wine_tool wine)
WINESERVER=$(wine_tool wineserver)
STATE
    # shellcheck disable=SC1091
    source "$state.tmp"
    if ! "$WINE" wineboot -i >"$dir/wineboot.log" 2>&1 || ! use_virtual_desktop >>"$dir/wineboot.log" 2>&1 ||
        ! "$WINESERVER" -w; then
        cat "$dir/wineboot.log" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        rm -rf "$dir" "$state.tmp"
        exit 1
    fi
    # A persistent server: every test program attaches to it instead of paying for a fresh start.
    "$WINESERVER" -p30
    mv "$state.tmp" "$state"
    setsid bash -c "$(declare -f watch_session); $(cat "$state"); WINESERVER=$WINESERVER; watch_session '$state'" \
        </dev/null >/dev/null 2>&1 &
}

stop() {
    local state=$1
    [ -f "$state" ] || return 0
    # shellcheck disable=SC1090
    source "$state"
    "$WINESERVER" -k 2>/dev/null || true
    for _ in $(seq 100); do # the session's watcher removes the state file last
        [ -f "$state" ] || return 0
        sleep 0.1
    done
    watch_session "$state"
}

case "${1:-}" in
start) start "$2" ;;
stop) stop "$2" ;;
*)
    echo "usage: $0 start|stop STATE_FILE" >&2
    exit 2
    ;;
esac
