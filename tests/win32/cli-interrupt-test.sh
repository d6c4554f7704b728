#!/usr/bin/env bash
# Ctrl+C as STOP! for quorvane-cli.exe under Wine: Wine turns a SIGINT into the console's Ctrl+C event.
# A text transfer into wintestwindow is interrupted once typing has begun; it must end with status 1, say
# "stopped" on standard error, and not have typed the whole file.
#   cli-interrupt-test.sh QUORVANE_CLI_EXE WINTESTWINDOW_EXE TEXT_FILE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=$1 window=$2 text=$3
dir=$(mktemp -d)
window_pid=
trap '[ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null; rm -rf "$dir"' EXIT

until_found() { # pattern file seconds
    for _ in $(seq $(($3 * 10))); do
        grep -q "$1" "$2" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "cli-interrupt-test: no \"$1\" in $2 after $3 s" >&2
    return 1
}

# The build's Wine session (started here when no other test has started it yet); then Wine runs the programs
# directly, so that each keeps its own process id for the signals.
"$here/wine-run.sh" "$cli" --help >/dev/null || exit 1
build=$(dirname "$cli")
until [ -f "$build/CMakeCache.txt" ] || [ "$build" = / ]; do build=$(dirname "$build"); done
# shellcheck disable=SC1091
source "$build/wine-session.env"
(exec "$WINE" "$window" --title "COM1 - Tera Term VT" --log "$dir/keys.log" --seconds 60) &
window_pid=$!
until_found FOCUS "$dir/keys.log" 30 || exit 1
(exec "$WINE" "$cli" send "$text") 2>"$dir/errors" &
cli_pid=$!
until_found CHAR "$dir/keys.log" 30 || exit 1
kill -INT "$cli_pid"
wait "$cli_pid"
status=$?
typed=$(grep -c '^CHAR' "$dir/keys.log")
whole=$(wc -c <"$text")
echo "status $status, $typed of $whole characters typed; standard error: $(cat "$dir/errors")"
[ "$status" = 1 ] && grep -q "stopped" "$dir/errors" && [ "$typed" -lt "$whole" ]
