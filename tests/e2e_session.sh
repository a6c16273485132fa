#!/usr/bin/env bash
# One short session with the real program in a real X server: click a box,
# type, Tab, move onto the button strip, open 税額検算 and close it again.
# Usage: e2e_session.sh <mivrel executable> <folder for screenshots> [openbox]
# With "openbox" the session runs under that window manager.
set -euo pipefail
exe=$1 shots=$2 wm=${3:-}
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

need xdotool import xprop xwininfo ${wm:+openbox}
start_x 1280x1024
export QT_QPA_PLATFORM=xcb
[ -n "$wm" ] && start_openbox

spawn "$exe"
pid=$last_pid
win=$(find_window Mivrel) || fail "main window did not appear"

eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 476 ] || fail "width $WIDTH, expected 476"
wait_until window_size_is "$win" 476x350 || fail "height not fitted to the width"
shoot "$win" start${wm:+-$wm}

# At width 476 the box 支払金額 (cell 13) spans x 80..179, y 33+77..33+109.
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 130 126 click 1
wait_until pixel_is "$win" 150 135 ffffff || fail "the editor did not open on 支払金額"
xdotool key ctrl+a BackSpace
xdotool type --delay 30 "5000000"

# Holding Tab runs the dotted frame on with the key's auto-repeat; the editor
# stays on 支払金額 until the key is released, then jumps once, storing the cell.
xdotool keydown Tab
sleep 1   # the hold itself: the server repeats the key meanwhile
pixel_is "$win" 150 135 ffffff || fail "the editor left 支払金額 while Tab was held"
xdotool keyup Tab
wait_until ! pixel_is "$win" 150 135 ffffff || fail "the editor stayed on 支払金額 after Tab was released"
for x in 230 330 430; do   # 給与所得控除後の金額, 所得控除の額の合計額, 源泉徴収税額
    pixel_is "$win" "$x" 135 ffffff && fail "the editor stopped on the way (x $x)"
done

# Onto the strip: the panel slides down and its buttons become usable.
xdotool mousemove --window "$win" 100 5
xdotool mousemove --window "$win" 96 8
shoot "$win" panel${wm:+-$wm}
xdotool mousemove --window "$win" 96 30 click 1   # 税額検算

dlg=$(find_window 税額の検算) || fail "the verification dialog did not open"
eval "$(xdotool getwindowgeometry --shell "$dlg")"
[ "$WIDTH" = 442 ] && [ "$HEIGHT" = 302 ] || fail "dialog is ${WIDTH}x${HEIGHT}, expected 442x302"
shoot "$dlg" verify${wm:+-$wm}

# The dialog's frame is centred on the 1280 x 1024 screen from its first opening.
read -r x y < <(xwininfo -id "$dlg" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { print x, $NF }')
read -r l r t b < <(xprop -id "$dlg" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,) || true
l=${l:-0} r=${r:-0} t=${t:-0} b=${b:-0}
dx=$(( (x - l) * 2 + WIDTH + l + r - 1280 )) dy=$(( (y - t) * 2 + HEIGHT + t + b - 1024 ))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "dialog frame off centre by ($dx, $dy) half-pixels"

xdotool windowfocus --sync "$dlg"
xdotool key Return
wait_until ! xdotool search --onlyvisible --name '^税額の検算$' || fail "OK did not close the dialog"

# The keyboard is back on 税額検算 wherever the pointer is: Space opens the
# dialog again (on a bare server the focus would otherwise stay with the root
# window, and keys go to whatever lies under the pointer).
xdotool mousemove 5 1000
focus_on_main() { [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$win" ]; }
wait_until focus_on_main || fail "the keyboard focus did not return to the main window"
xdotool key space
dlg=$(find_window 税額の検算) || fail "Space after the dialog closed did not reach 税額検算"
xdotool windowfocus --sync "$dlg"
xdotool key Return
wait_until ! xdotool search --onlyvisible --name '^税額の検算$' || fail "OK did not close the dialog again"

ours "$pid" || fail "the program ended unexpectedly"
echo "PASS: end-to-end session${wm:+ under $wm} (screenshots in $shots)"
