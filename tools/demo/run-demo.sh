#!/bin/sh
# Opens the simulated board in an xterm titled like Tera Term, and Quorvane with its browser on samples/.
# Without DISPLAY it runs headless-demo.sh instead.
# Usage: run-demo.sh BUILD_FOLDER [boardsim options]   (make demo passes build/release)
set -eu

build=$(cd "${1:?usage: run-demo.sh BUILD_FOLDER [boardsim options]}" && pwd)
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
# Without a desktop, the same demo runs by itself on a private X server and reports what the board received.
if [ -z "${DISPLAY:-}" ]; then
    exec "$root/tools/demo/headless-demo.sh" "$build" "$@"
fi

# A private settings folder holding the samples folder as the stored default, so the user's own stays untouched.
config=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-demo-XXXXXX")
board_pid=
cleanup() {
    [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null || true
    rm -rf "$config"
}
trap cleanup EXIT INT TERM
mkdir -p "$config/Quorvane" "$build/demo"
printf '[Defaults]\nDefault%%20Drive=/\nDefault%%20Folder=%s\n' "$root/samples" >"$config/Quorvane/Quorvane.conf"

# Keystrokes must reach the board as typed: UTF-8, Backspace as 08, and a title the board cannot change.
LC_ALL=C.UTF-8 xterm -T "COM1 - Tera Term VT" -n "COM1 - Tera Term VT" -u8 -geometry 90x30+0+0 \
    -xrm 'XTerm*backarrowKey: true' -xrm 'XTerm*backarrowKeyIsErase: false' \
    -xrm 'XTerm*ptyInitialErase: false' -xrm 'XTerm*deleteIsDEL: false' -xrm 'XTerm*allowTitleOps: false' \
    -e "$build/tools/boardsim/boardsim" --image "$build/demo/board.image" --status "$build/demo/board.status" \
    "$@" &
board_pid=$!

cat <<TEXT
The xterm "COM1 - Tera Term VT" plays a TM 990 board running EVMBUG (boardsim --help lists its options;
add them after the build folder: tools/demo/run-demo.sh build/release --monitor tibug).
In Quorvane, click demo.obj, choose "Tagged Object Code - Send To EVMBUG IM Command" and press Send: the board echoes
every word. For even.bin (hex dump), first type IM FE00 and Enter in the board window yourself.
Add --realistic to see what too small a line factor does to a real board.
When the board window closes, its memory is in $build/demo/board.image.
TEXT

XDG_CONFIG_HOME="$config" "$build/ui/quorvane"
