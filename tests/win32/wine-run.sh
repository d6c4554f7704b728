#!/usr/bin/env bash
# Runs one Windows program under Wine: ctest's emulator for the cross build.
# The programs of one build share a session (state in wine-session.env next to CMakeCache.txt), started by
# whichever comes first; it lasts as long as the process that runs them (ctest, or your shell), or the process
# QUORVANE_WINE_OWNER names (a test program that starts Wine through this script gives ctest's).
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

state="$(build_dir "$1")/wine-session.env"
"$here/wine-session.sh" ensure "$state" "${QUORVANE_WINE_OWNER:-$PPID}" || exit 1
# shellcheck disable=SC1090
source "$state"
"$WINE" "$@"
