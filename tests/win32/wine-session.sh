#!/usr/bin/env bash
# Starts or stops a Wine session for the Windows tests: a private Xvfb and a throwaway Wine prefix.
#   wine-session.sh start STATE_FILE OWNER_PID   writes DISPLAY, WINEPREFIX and the pids into STATE_FILE;
#                                                the session ends by itself once OWNER_PID (ctest) has exited
#   wine-session.sh ensure STATE_FILE OWNER_PID  keeps the session STATE_FILE describes while it and its owner
#                                                live, else ends what is left of it and starts a new one
#   wine-session.sh stop STATE_FILE              ends the session now and removes its folder
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

# The processes that still run in the session's prefix (Wine's server and programs, whatever their names), but
# not this shell.
session_wine_pids() {
    local proc pid
    for proc in /proc/[0-9]*; do
        pid=${proc#/proc/}
        if [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] &&
            tr '\0' '\n' 2>/dev/null <"$proc/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
        fi
    done
}

# Ends the session: its Wine server and programs, its Xvfb, its folder, and its state file unless a newer
# session has already replaced it. The state file's TMPDIR is the one the session started with: Wine finds its
# server through a folder under TMPDIR, so with another TMPDIR wineserver -k would reach nothing.
end_session() {
    local state=$1 pid
    "$WINESERVER" -k 2>/dev/null || true
    # Removing the prefix while the server still writes to it would leave a part of it behind.
    timeout 10 "$WINESERVER" -w 2>/dev/null || true
    # Anything the server did not take with it (a server that no longer answered, say).
    for pid in $(session_wine_pids); do
        kill -KILL "$pid" 2>/dev/null || true
    done
    kill "$XVFB_PID" 2>/dev/null || true
    if grep -qF "SESSION_DIR=$SESSION_DIR" "$state" 2>/dev/null; then
        rm -f "$state"
    fi
    case "$SESSION_DIR" in
    */quorvane-wine.*) rm -rf "$SESSION_DIR" ;;
    esac
}

watch_owner() {
    local state=$1 owner=$2
    while kill -0 "$owner" 2>/dev/null && [ -d "$SESSION_DIR" ]; do
        sleep 1
    done
    end_session "$state"
}

# One Wine desktop window holds all Windows windows, so focus and stacking are Wine's alone: without a
# window manager, Wine's X11 driver waits two seconds for X focus events whenever a window is destroyed.
use_virtual_desktop() {
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
}

# The desktop's process lives as long as the server. Started by a test program, it would inherit that
# program's output and ctest would wait for it; started here, it inherits nothing.
start_desktop() {
    local dir=$1 pid
    "$WINE" explorer /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
    for _ in $(seq 200); do
        for pid in $(pgrep -f 'explorer.exe /desktop=Default' || true); do
            if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$dir/prefix"; then
                return
            fi
        done
        sleep 0.1
    done
    echo "wine-session: the Wine desktop did not start" >&2
}

start() {
    local state=$1 owner=$2 dir display
    dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-wine.XXXXXX")
    display=$(start_xvfb "$dir")
    cat >"$state.tmp" <<STATE
SESSION_DIR=$dir
OWNER_PID=$owner
export TMPDIR=${TMPDIR:-/tmp}
XVFB_PID=$(cat "$dir/xvfb.pid")
export DISPLAY=$display
export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"
WINE=$(wine_tool wine)
WINESERVER=$(wine_tool wineserver)
STATE
    # shellcheck disable=SC1090
    source "$state.tmp"
    if ! "$WINE" wineboot -i >"$dir/wineboot.log" 2>&1 || ! use_virtual_desktop >>"$dir/wineboot.log" 2>&1 ||
        ! "$WINESERVER" -w; then
        cat "$dir/wineboot.log" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        rm -rf "$dir" "$state.tmp"
        exit 1
    fi
    # A persistent server: every test program attaches to it instead of paying for a fresh start. Its output
    # goes nowhere, or ctest would wait for the server to close the test's output pipe.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    start_desktop "$dir"
    mv "$state.tmp" "$state"
    setsid bash -c "$(declare -f session_wine_pids end_session watch_owner); $(cat "$state"); watch_owner '$state' '$owner'" \
        </dev/null >/dev/null 2>&1 &
}

stop() {
    local state=$1
    [ -f "$state" ] || return 0
    # shellcheck disable=SC1090
    source "$state"
    end_session "$state"
}

# A session whose owner has exited is being ended by its watcher, perhaps this very second: it is never taken
# over, or the programs of the next run would die with it.
ensure() {
    local state=$1 owner=$2
    exec 9>"$state.lock"
    flock 9
    # shellcheck disable=SC1090
    if [ -f "$state" ] && ! (source "$state" && kill -0 "$XVFB_PID" && kill -0 "$OWNER_PID" &&
        [ -d "$WINEPREFIX" ]) 2>/dev/null; then
        stop "$state"
    fi
    if [ ! -f "$state" ]; then
        echo "wine-session: starting a Wine session for $(dirname "$state")" >&2
        start "$state" "$owner" 9>&-
    fi
}

case "${1:-}" in
start) start "$2" "$3" ;;
ensure) ensure "$2" "$3" ;;
stop) stop "$2" ;;
*)
    echo "usage: $0 start|ensure STATE_FILE OWNER_PID | stop STATE_FILE" >&2
    exit 2
    ;;
esac
