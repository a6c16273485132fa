#!/usr/bin/env bash
# Window states under a real window manager (openbox on Xvfb, 1600 x 1000):
# a window made far too wide comes back to a width whose slip fits the screen,
# a maximized window shows the whole slip, and restoring it fits the height to
# the width again.
# Usage: e2e_window_states.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

need xdotool import xprop openbox wmctrl convert
start_x 1600x1000
export QT_QPA_PLATFORM=xcb
start_openbox
spawn "$exe"
win=$(find_window Mivrel) || fail "main window did not appear"
wait_until window_size_is "$win" 476x350 || fail "height not fitted at start"

# Client width and height, and the height of the frame's title bar.
client() { xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2/p'; }
fits_screen() {
    local w h
    read -r w h < <(client)
    [ "$w" -le 1600 ] && [ "$h" -le 1000 ] && [ "$h" -gt 300 ]
}
# Whether the slip's bottom frame line lies inside the window: one of the
# client's last rows is dark across more than half its width.
bottom_line_visible() {
    local w h
    read -r w h < <(client)
    import -window "$win" "$shots/states-last.png"
    convert "$shots/states-last.png" -crop "${w}x12+0+$((h - 12))" +repage -colorspace gray \
        -threshold 50% -negate -scale "1x12!" -format '%[fx:maxima > 0.5]' info: | grep -q 1
}

xdotool windowsize "$win" 32000 300
wait_until fits_screen || fail "a very wide window was not brought back: $(client)"
wait_until bottom_line_visible || fail "the slip is cut off after the width was limited"

wmctrl -i -r "$win" -b add,maximized_vert,maximized_horz
wait_until window_size_is "$win" '1600x[0-9]*' || fail "the window did not maximize: $(client)"
wait_until bottom_line_visible || fail "the maximized window does not show the whole slip"
shoot "$win" openbox-maximized

wmctrl -i -r "$win" -b remove,maximized_vert,maximized_horz
wait_until ! window_size_is "$win" '1600x[0-9]*' || fail "the window stayed maximized"
read -r w h < <(client)
wait_until bottom_line_visible || fail "the restored window does not show the whole slip"
echo "PASS: window states under openbox (restored to ${w}x${h})"
