#!/usr/bin/env bash
# Mivrel as a native Wayland client of a headless sway (1600 x 1000): alone
# in its tile, in a short tile of a vertical split, and floating, resized
# large. sway decides each size; the screenshot of the window's content area
# must show the whole slip, the largest that fits, centred both ways, with
# nothing but the window colour around it. sway refuses to run as root: it
# and its clients run as an unprivileged user.
# Usage: e2e_sway.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

need sway swaymsg grim jq convert weston-terminal
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    { echo "SKIP: qt6-wayland not installed"; exit 77; }

prepare_user
runtime=$e2e_tmp/user-runtime
config=$e2e_tmp/sway.config
cat > "$config" <<'CONF'
output HEADLESS-1 resolution 1600x1000 position 0 0
xwayland disable
focus_follows_mouse no
CONF
chmod 644 "$config"
sway_socket() { compgen -G "$runtime/sway-ipc.*.sock" | head -1; }
sway_up() { [ -n "$(sway_socket)" ] && compgen -G "$runtime/wayland-*" >/dev/null; }
start_env sway sway_up as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 sway -c "$config"
export SWAYSOCK WAYLAND_DISPLAY
SWAYSOCK=$(sway_socket)
WAYLAND_DISPLAY=$(basename "$(compgen -G "$runtime/wayland-*" | grep -v lock | head -1)")

sway_cmd() { as_user env SWAYSOCK="$SWAYSOCK" swaymsg "$@" >/dev/null; }
# The content area of the window titled Mivrel on the screen: x y width height.
content_rect() {
    as_user env SWAYSOCK="$SWAYSOCK" swaymsg -t get_tree -r |
        jq -r '.. | objects | select(.name? == "Mivrel" and .pid?) |
               "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)"' |
        head -1
}
window_mapped() { [ -n "$(content_rect)" ]; }

# check NAME WHAT: the screen's picture of the window's content area.
check() {
    local x y w h
    shown() {
        read -r x y w h < <(content_rect)
        as_user env WAYLAND_DISPLAY="$WAYLAND_DISPLAY" grim -g "$x,$y ${w}x$h" - > "$shots/sway-$1.png" &&
            slip_shown "$shots/sway-$1.png"
    }
    if ! wait_until shown "$1"; then
        slip_fault
        fail "$2: the slip is not shown as the content area implies ($(content_rect))"
    fi
    echo "ok: $2, content area at $(content_rect | awk '{print $1 "," $2 ", " $3 "x" $4}')"
}

client() { spawn as_user env WAYLAND_DISPLAY="$WAYLAND_DISPLAY" "$@"; }
client env QT_QPA_PLATFORM=wayland "$exe"
wait_until window_mapped || fail "the window did not appear"
check alone "alone in its tile"

# Two terminals beside it, then the three stacked: a short wide tile.
terminal_count() {
    as_user env SWAYSOCK="$SWAYSOCK" swaymsg -t get_tree -r |
        jq '[.. | objects | select(.pid? and .name? != "Mivrel" and (.type == "con" or .type == "floating_con"))] | length'
}
terminals_open() { [ "$(terminal_count)" = "$1" ]; }
client weston-terminal >/dev/null 2>&1
wait_until terminals_open 1 || env_fail "weston-terminal did not open"
client weston-terminal >/dev/null 2>&1
wait_until terminals_open 2 || env_fail "weston-terminal did not open"
sway_cmd '[title="^Mivrel$"] focus'
sway_cmd layout splitv
short_tile() { read -r _ _ w h < <(content_rect); [ "$w" -gt 1500 ] && [ "$h" -lt 400 ]; }
wait_until short_tile || fail "no short wide tile: $(content_rect)"
check short "short wide tile of a vertical split"

sway_cmd '[title="^Mivrel$"] floating enable, resize set 1590 990'
floating_large() { read -r _ _ w h < <(content_rect); [ "$w" -ge 1500 ] && [ "$h" -ge 900 ]; }
wait_until floating_large || fail "the floating window was not resized: $(content_rect)"
read -r x y w h < <(content_rect)
[ "$((y + h))" -le 1000 ] && [ "$y" -ge 0 ] || fail "the floating window runs off the screen: $x,$y ${w}x$h"
check floating "floating, resized to 1590 x 990"
echo "PASS: Mivrel under sway"
