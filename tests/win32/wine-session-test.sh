#!/usr/bin/env bash
# wine-session.sh stop must end everything the session started, whatever TMPDIR the caller of stop has: started
# with one TMPDIR and stopped with another, no Wine process of its prefix and no session folder may be left.
# And a run that comes just after the previous owner exited (ctest runs back to back) must get a session of its
# own, not the one being ended under it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/start-tmp" "$work/stop-tmp"
state=$work/session.env

if ! TMPDIR=$work/start-tmp "$here/wine-session.sh" start "$state" $$; then
    echo "FAIL: the session did not start"
    exit 1
fi
prefix=$(sed -n 's/^export WINEPREFIX=//p' "$state")
session_dir=$(sed -n 's/^SESSION_DIR=//p' "$state")

prefix_pids() {
    local proc
    for proc in /proc/[0-9]*; do
        if tr '\0' '\n' 2>/dev/null <"$proc/environ" | grep -qxF "WINEPREFIX=$prefix"; then
            echo "${proc#/proc/} $(cat "$proc/comm" 2>/dev/null)"
        fi
    done
}

if [ -z "$(prefix_pids)" ]; then
    echo "FAIL: no Wine process of the session was found before the stop; the test proves nothing"
    exit 1
fi
TMPDIR=$work/stop-tmp "$here/wine-session.sh" stop "$state"
sleep 1
left=$(prefix_pids)
status=0
if [ -n "$left" ]; then
    echo "FAIL: still running after stop:"
    echo "$left"
    while read -r pid _; do kill -KILL "$pid" 2>/dev/null; done <<<"$left"
    status=1
fi
if [ -e "$session_dir" ] || [ -e "$state" ]; then
    echo "FAIL: the session folder or state file was left behind"
    status=1
fi

sleep 600 &
old_owner=$!
if ! "$here/wine-session.sh" start "$state" $old_owner; then
    echo "FAIL: the second session did not start"
    exit 1
fi
old_dir=$(sed -n 's/^SESSION_DIR=//p' "$state")
kill $old_owner
wait $old_owner 2>/dev/null
"$here/wine-session.sh" ensure "$state" $$ 2>/dev/null
new_dir=$(sed -n 's/^SESSION_DIR=//p' "$state")
sleep 3 # the old session's watcher has ended it by now
# shellcheck disable=SC1090
if [ "$new_dir" = "$old_dir" ]; then
    echo "FAIL: a session whose owner had exited was taken over"
    status=1
elif [ "$(source "$state" && "$WINE" cmd /c echo alive 2>/dev/null | tr -d '\r')" != alive ]; then
    echo "FAIL: the new session did not outlive the end of the old one"
    status=1
fi
"$here/wine-session.sh" stop "$state"
[ $status -eq 0 ] && echo "PASS"
exit $status
