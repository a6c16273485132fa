#!/usr/bin/env bash
# Mivrel as a native Wayland client of a headless Weston: the first frame
# shows, the window is maximized (the compositor dictates its size), and the
# program is still running afterwards with the slip drawn at the new size.
# Usage: e2e_wayland.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"
need weston weston-screenshooter convert
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    { echo "SKIP: qt6-wayland not installed"; exit 77; }

export XDG_RUNTIME_DIR=$e2e_tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$XDG_RUNTIME_DIR"

weston_up() { test -S "$XDG_RUNTIME_DIR/wl-mivrel"; }
start_env weston weston_up weston --backend=headless-backend.so --use-pixman --width=1300 --height=900 \
    --socket=wl-mivrel --idle-time=0 --debug
export WAYLAND_DISPLAY=wl-mivrel

MIVREL_TEST_MAXIMIZE=1 QT_QPA_PLATFORM=wayland spawn "$exe"
pid=$last_pid

# Maximized, the slip fills the screen down to its bottom rows: the band just
# above the screen's bottom edge is mostly the slip's paper colour.
slip_reaches_bottom() {
    rm -f wayland-screenshot*.png
    weston-screenshooter || return 1
    local paper
    paper=$(convert wayland-screenshot*.png -crop 1300x60+0+820 -fill black +opaque '#efefef' \
            -format '%[fx:mean > 0.5]' info:)
    [ "$paper" = 1 ]
}
wait_until slip_reaches_bottom || fail "the maximized window does not show the slip"
cp wayland-screenshot*.png "$shots/wayland-maximized.png"
ours "$pid" || fail "the program ended after maximizing"
echo "PASS: maximized on Wayland (screenshot in $shots)"
