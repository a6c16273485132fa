#!/usr/bin/env bash
# One short session with the real program in a real X server: click a box,
# type, Tab, move onto the button strip, open 税額検算 and close it again.
# Usage: e2e_session.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1
shots=$2
mkdir -p "$shots"

if [ -z "${MIVREL_E2E_INNER:-}" ]; then
    for tool in xvfb-run xdotool import; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
    done
    MIVREL_E2E_INNER=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

# The tests around this one run offscreen; this one needs the real X server.
export QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*"; import -window root "$shots/e2e-failure.png" || true; exit 1; }

# Prints the id of the window titled exactly $1, waiting up to 10 s for it.
find_window() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return 0
        sleep 0.2
    done
    return 1
}

"$exe" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

win=$(find_window Mivrel) || fail "main window did not appear"
sleep 0.5

eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 476 ] || fail "width $WIDTH, expected 476"
[ "$HEIGHT" = 350 ] || fail "height $HEIGHT, expected 350 (fitted to the width)"
import -window root "$shots/e2e-start.png"

# At width 476 the box 支払金額 (cell 13) spans x 80..179, y 33+77..33+109.
xdotool windowfocus --sync "$win"
xdotool mousemove $((X + 130)) $((Y + 126)) click 1
sleep 0.3
xdotool key ctrl+a BackSpace
xdotool type --delay 30 "5000000"
xdotool key Tab
sleep 0.3
import -window root "$shots/e2e-typed.png"

# Onto the strip: the panel slides down and its buttons become usable.
xdotool mousemove $((X + 100)) $((Y + 5))
sleep 0.2
xdotool mousemove $((X + 96)) $((Y + 8))
sleep 0.5
import -window root "$shots/e2e-panel.png"
xdotool mousemove $((X + 96)) $((Y + 30)) click 1   # 税額検算

dlg=$(find_window 税額の検算) || fail "the verification dialog did not open"
sleep 0.5
import -window root "$shots/e2e-verify.png"
eval "$(xdotool getwindowgeometry --shell "$dlg")"
[ "$WIDTH" = 442 ] && [ "$HEIGHT" = 302 ] || fail "dialog is ${WIDTH}x${HEIGHT}, expected 442x302"

xdotool windowfocus --sync "$dlg"
xdotool key Return
for _ in $(seq 25); do
    xdotool search --onlyvisible --name '^税額の検算$' >/dev/null 2>&1 || break
    sleep 0.2
done
xdotool search --onlyvisible --name '^税額の検算$' >/dev/null 2>&1 && fail "OK did not close the dialog"

kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly"
kill "$pid"
wait "$pid" 2>/dev/null || true
trap - EXIT
echo "PASS: end-to-end session (screenshots in $shots)"
