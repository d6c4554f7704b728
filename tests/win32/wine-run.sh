#!/usr/bin/env bash
# Runs one Windows program under Wine: ctest's emulator for the cross build.
# The programs of one build share a session (state in wine-session.env next to CMakeCache.txt), started by
# whichever comes first; QUORVANE_WINE_XKB_LAYOUT asks for a session of its own with that X keyboard layout.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

build_dir() { # the folder above the program that holds CMakeCache.txt, else the program's own
    local dir
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ "$dir" != / ]; do
        [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return; }
        dir=$(dirname "$dir")
    done
    cd "$(dirname "$1")" && pwd
}

layout=${QUORVANE_WINE_XKB_LAYOUT:-}
if [ -n "$layout" ]; then
    state=$(mktemp "${TMPDIR:-/tmp}/quorvane-wine-state.XXXXXX")
    trap '"$here/wine-session.sh" stop "$state"' EXIT
    "$here/wine-session.sh" start "$state" "$layout" || exit 1
else
    state="$(build_dir "$1")/wine-session.env"
    exec 9>"$state.lock"
    flock 9
    if [ -f "$state" ]; then
        # shellcheck disable=SC1090
        (source "$state" && kill -0 "$XVFB_PID" 2>/dev/null) || "$here/wine-session.sh" stop "$state"
    fi
    [ -f "$state" ] || "$here/wine-session.sh" start "$state" || exit 1
    flock -u 9
fi
# shellcheck disable=SC1090
source "$state"
"$WINE" "$@"
