#!/usr/bin/env bash
# The demo without a display: a private X server, the simulated board in an xterm titled like Tera Term, and
# three transfers through `quorvane send` (demo.obj through EVMBUG and through TIBUG, even.bin as a hex dump).
# Prints what the board received and whether its memory matches the sample's image, leaves screenshots of the
# window and of the terminal in the output folder, and exits 0 only when every word landed.
# Usage: headless-demo.sh BUILD_FOLDER [boardsim options]   (the output folder is $QUORVANE_DEMO_OUT, else build/demo)
set -uo pipefail

build=$(cd "${1:?usage: headless-demo.sh BUILD_FOLDER [boardsim options]}" && pwd)
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${QUORVANE_DEMO_OUT:-$root/build/demo}
samples=$root/samples
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-demo-XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Waits up to $2 seconds for the command $1 to succeed.
wait_for() {
    local deadline=$((SECONDS + $2))
    until eval "$1" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for '[ -s "$work/display" ]' 20 || { echo "demo: the private X server did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)

# The board in an xterm titled like Tera Term, as make demo opens it on a desktop.
start_board() {
    rm -f "$work/board.ready" "$work/board.image" "$work/board.status"
    LC_ALL=C.UTF-8 xterm -T "COM1 - Tera Term VT" -n "COM1 - Tera Term VT" -u8 -geometry 90x24+0+0 \
        -xrm 'XTerm*backarrowKey: true' -xrm 'XTerm*backarrowKeyIsErase: false' \
        -xrm 'XTerm*ptyInitialErase: false' -xrm 'XTerm*deleteIsDEL: false' -xrm 'XTerm*allowTitleOps: false' \
        -e "$build/tools/boardsim/boardsim" --image "$work/board.image" --status "$work/board.status" \
        --ready "$work/board.ready" "$@" "${board_options[@]}" &
    board_pid=$!
    pids+=("$board_pid")
    wait_for '[ -e "$work/board.ready" ]' 20
}

# Closing the xterm ends the board, which then writes its memory image and counters.
stop_board() {
    kill "$board_pid" 2>/dev/null
    wait_for '[ -e "$work/board.status" ]' 10
    wait "$board_pid" 2>/dev/null
}

screenshot() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [ -n "$id" ] && import -window "$id" "$2" 2>/dev/null
}

board_options=("$@")
failures=0

# One transfer: a fresh board started as given, the file sent, the board's memory compared with the image.
transfer() {
    local name=$1 file=$2 image=$3 monitor=$4 start=$5
    shift 5
    echo "== $name: $file through $monitor"
    if ! start_board --monitor "$monitor" --start "$start"; then
        echo "   the board did not start"
        failures=$((failures + 1))
        return
    fi
    "$build/ui/quorvane" send "$samples/$file" --monitor "$monitor" "$@"
    echo "   quorvane send exit status: $?"
    sleep 0.5
    screenshot "Tera Term" "$out/terminal-$name.png"
    stop_board
    echo "   board received: $(tr '\n' ' ' <"$work/board.status" 2>/dev/null)"
    if cmp -s "$work/board.image" "$samples/$image"; then
        echo "   memory matches $image: yes ($(wc -l <"$samples/$image") words)"
    else
        echo "   memory matches $image: NO"
        diff "$samples/$image" "$work/board.image" | sed 's/^/   /'
        failures=$((failures + 1))
    fi
}

# The window, on the samples folder through a private settings folder, as make demo shows it on a desktop.
mkdir -p "$work/config/Quorvane"
printf '[Defaults]\nDefault%%20Drive=/\nDefault%%20Folder=%s\n' "$samples" >"$work/config/Quorvane/Quorvane.conf"
XDG_CONFIG_HOME="$work/config" "$build/ui/quorvane" &
window_pid=$!
pids+=("$window_pid")
if wait_for 'xdotool search --onlyvisible --name "^Quorvane$"' 20; then
    sleep 1
    screenshot "^Quorvane$" "$out/window.png"
else
    echo "demo: the Quorvane window did not appear" >&2
    failures=$((failures + 1))
fi
kill "$window_pid" 2>/dev/null

transfer evmbug demo.obj demo.image evmbug prompt --type object --line-factor 1.5 --char-factor 1.0
transfer tibug demo.obj demo.image tibug prompt --type object --line-factor 3.0 --char-factor 1.0
transfer hex even.bin even.image evmbug memory:FE00 --type hex

echo "Screenshots of the window and the terminal are in $out."
if [ "$failures" -ne 0 ]; then
    echo "demo: $failures of the checks failed."
    exit 1
fi
echo "demo: every word landed."
