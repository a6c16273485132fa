#!/usr/bin/env bash
# Mivrel under KWin (headless kwin_wayland with Xwayland, 1600 x 1000), as a
# native Wayland client and as an X11 client: quick tile left and top, and
# the window resized to the whole screen. Window states are set through
# KWin's scripting over D-Bus, screenshots come from KWin's ScreenShot2
# interface; each must show the whole slip, the largest that fits the
# window's client area, centred both ways, nothing around it but the window
# colour. Run by `make e2e-desktops` (the packages are large), not in CI.
# Usage: e2e_kwin.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

need kwin_wayland Xwayland gdbus convert xdotool xwininfo
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    { echo "SKIP: qt6-wayland not installed"; exit 77; }

export XDG_RUNTIME_DIR=$e2e_tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_session_bus
# KWin's binary carries a file capability, which a container may refuse to
# grant: a copy of it runs without.
cp "$(command -v kwin_wayland)" "$e2e_tmp/kwin_wayland"
# KWin starts this once Xwayland is up, with DISPLAY set: it tells the
# display, then waits until the run ends.
cat > "$e2e_tmp/tell-display" <<TELL
#!/bin/sh
echo "\$DISPLAY" > "$e2e_tmp/x-display"
exec sleep infinity
TELL
chmod +x "$e2e_tmp/tell-display"
kwin_up() { test -s "$e2e_tmp/x-display" && on_session_bus org.kde.KWin; }
# What a script prints goes to the debug output of KWin's scripting.
KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 QT_LOGGING_RULES="kwin_scripting.debug=true" start_env kwin kwin_up \
    "$e2e_tmp/kwin_wayland" --virtual --width 1600 --height 1000 --xwayland --socket wl-kwin \
    "$e2e_tmp/tell-display"
x_display=$(cat "$e2e_tmp/x-display")
log=$e2e_tmp/kwin.log

# kwin_script NAME JS: runs JS in KWin; what it prints lands in KWin's log.
kwin_script() {
    local file=$e2e_tmp/$1.js
    printf '%s\n' "$2" > "$file"
    gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.loadScript "$file" "$1" >/dev/null
    gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.start >/dev/null
    gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.unloadScript "$1" >/dev/null
}
mivrel_js='var w = workspace.clientList().filter(function (c) { return c.caption == "Mivrel"; })[0];'
# Prints the client area of the window titled Mivrel: x y width height. Each
# call prints under a tag of its own (it runs in a subshell, so no counter).
client_area() {
    local counter
    counter=$(date +%s%N)
    kwin_script "where$counter" "$mivrel_js
        if (w) { var g = w.clientGeometry ? w.clientGeometry : w.bufferGeometry;
                 print('mivrel-area $counter ' + Math.round(g.x) + ' ' + Math.round(g.y) + ' ' +
                       Math.round(g.width) + ' ' + Math.round(g.height)); }"
    E2E_WAIT=3 wait_until grep -q "mivrel-area $counter " "$log" || return 1
    grep -o "mivrel-area $counter .*" "$log" | tail -1 | cut -d' ' -f3-
}
# An X11 client's area comes from the X server: KWin's scripts give X11
# windows no client geometry, and their buffer is the decorated frame.
x_client_area() {
    local id
    id=$(DISPLAY=$x_display xdotool search --onlyvisible --name '^Mivrel$' 2>/dev/null | head -1)
    [ -n "$id" ] || return 1
    DISPLAY=$x_display xwininfo -id "$id" |
        awk -F: '/Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
                 /Width/ {w = $2} /Height/ {h = $2} END {print x + 0, y + 0, w + 0, h + 0}'
}
area_of_client() { if [ "$kind" = x11 ]; then x_client_area; else client_area; fi; }
window_there() { [ -n "$(area_of_client)" ]; }
area_width_is() { local x y w h; read -r x y w h < <(area_of_client) && [ "$w" = "$1" ]; }
# act NAME JS-ON-w: does something to the window.
act() { kwin_script "$1" "$mivrel_js if (w) { workspace.activeClient = w; $2 }"; }

# check KIND NAME WHAT: the screen's picture of the window's client area.
check() {
    local area
    shown() {
        area=$(area_of_client) || return 1
        set -- $area
        /usr/bin/python3 "$here/kwin_shot.py" "$@" "$shots/kwin-$name.png" 2>>"$e2e_tmp/shot.log" &&
            slip_shown "$shots/kwin-$name.png"
    }
    name=$1-$2
    if ! wait_until shown; then
        slip_fault
        fail "$1 client, $3: the slip is not shown as the client area implies ($area)"
    fi
    echo "ok: $1 client, $3: client area $area"
}

# One window per state: a window leaves a quick tile only by KWin's own
# toggle, and the next quick tile would combine with one still set.
# in_state KIND WHAT JS WIDTH NAME: a new window of the client, put in a state
# by JS, shows the slip for the client area it has once that is WIDTH wide.
in_state() {
    local kind=$1 what=$2 js=$3 width=$4 name=$5 pid
    spawn env "${client_env[@]}" "$exe"
    pid=$last_pid
    wait_until window_there || fail "$kind client: the window did not appear"
    act "$name" "$js"
    wait_until area_width_is "$width" || fail "$kind client: not $what: $(area_of_client)"
    check "$kind" "$name" "$what"
    stop_process "$pid"
    wait_until ! window_there || fail "$kind client did not end"
}

# An X11 window given the whole screen asks for the width whose height fits
# it, as on any X11 desktop; a Wayland window takes what it is given.
run_client() {
    kind=$1 screen_width=$2
    shift 2
    client_env=("$@")
    in_state "$kind" "quick tile left" 'workspace.slotWindowQuickTileLeft();' 800 left
    in_state "$kind" "quick tile top" 'workspace.slotWindowQuickTileTop();' 1600 top
    in_state "$kind" "resized to the whole screen" \
        'var a = workspace.clientArea(KWin.PlacementArea, w); w.frameGeometry = a;' "$screen_width" screen
}

run_client wayland 1600 QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wl-kwin
run_client x11 1350 QT_QPA_PLATFORM=xcb DISPLAY="$x_display"
echo "PASS: Mivrel under KWin"
