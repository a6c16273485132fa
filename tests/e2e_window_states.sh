#!/usr/bin/env bash
# Window states under a real window manager (openbox on Xvfb, 1600 x 1000):
# a window made far too wide comes back to a width whose slip fits the screen,
# a maximized window shows the whole slip, and restoring it fits the height to
# the width again; vertically maximized, and while its bottom edge is dragged
# and held, the window keeps the height it is given and shows the largest
# slip that fits, centred, every pixel painted.
# Usage: e2e_window_states.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

need xdotool import xprop xwininfo openbox wmctrl convert
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
echo "ok: restored to ${w}x${h}"

# check NAME WHAT: the window shows the slip as its client size implies.
check() {
    if ! wait_until x_slip_shown "$win" "openbox-$1"; then
        slip_fault
        fail "$2: the slip is not shown as the window's size implies ($(client | tr ' ' x))"
    fi
    echo "ok: $2, client $(client | tr ' ' x)"
}
taller_than() { local w h; read -r w h < <(client); [ "$h" -gt "$1" ]; }

xdotool windowsize "$win" 476 300
wait_until window_size_is "$win" 476x350 || fail "the height does not follow a width of 476: $(client)"
read -r w h < <(client)
wmctrl -i -r "$win" -b add,maximized_vert
wait_until taller_than $((h + 100)) || fail "the window was not maximized vertically: $(client)"
check vertical "vertically maximized"
wmctrl -i -r "$win" -b remove,maximized_vert
wait_until window_size_is "$win" "${w}x$h" || fail "not restored from vertical maximization: $(client)"

# The bottom edge: openbox's handle lies just below the client area (the
# frame's bottom extent). The client's place on the screen comes from
# xwininfo: xdotool reports it shifted by the title bar.
eval "$(xwininfo -id "$win" | awk -F: '/Absolute upper-left X/ {print "X=" $2} /Absolute upper-left Y/ {print "Y=" $2}
                                     /Width/ {print "WIDTH=" $2} /Height/ {print "HEIGHT=" $2}' | tr -d ' ')"
bottom=$(xprop -id "$win" _NET_FRAME_EXTENTS | awk -F', ' '{print $4}')
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT + (bottom + 1) / 2)) mousedown 1
xdotool mousemove_relative --sync 0 60
xdotool mousemove_relative --sync 0 100
wait_until taller_than $((HEIGHT + 100)) || { xdotool mouseup 1; fail "the bottom edge did not move: $(client)"; }
check held "bottom edge dragged and held"
xdotool mouseup 1
check released "bottom edge released"
echo "PASS: window states under openbox"
