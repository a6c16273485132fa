#!/usr/bin/env bash
# Mivrel tiled by the i3 window manager (Xvfb, 1600 x 1000), as i3 users run
# every window: started beside a terminal in a half tile, alone, in half and
# third tiles, in a short wide tile of a vertical split, full screen and back.
# Each time the screenshot of the window must show the whole slip, the largest
# that fits the tile, centred both ways, with nothing but the window colour
# around it.
# Usage: e2e_i3.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

need i3 i3-msg xterm xdotool import convert
start_x 1600x1000
export QT_QPA_PLATFORM=xcb

# Without a bar block i3 starts no bar; the first line keeps i3 from
# converting the file as an old-style configuration (which adds one).
config=$e2e_tmp/i3.config
cat > "$config" <<'CONF'
# i3 config file (v4)
font pango:DejaVu Sans 9
focus_follows_mouse no
CONF
i3_answers() { i3-msg -t get_version >/dev/null; }
start_env i3 i3_answers i3 -c "$config"

terminals=()
terminal_count() { { xdotool search --onlyvisible --class XTerm 2>/dev/null || true; } | wc -l; }
more_terminals_than() { [ "$(terminal_count)" -gt "$1" ]; }
open_terminal() {
    local before
    before=$(terminal_count)
    spawn xterm -title "terminal $1"
    terminals+=("$last_pid")
    wait_until more_terminals_than "$before" || env_fail "xterm did not open"
}

# check NAME WHAT: the window's client area shows the slip as its size implies.
check() {
    if ! wait_until x_slip_shown "$win" "i3-$1"; then
        slip_fault
        fail "$2: the slip is not shown as the window's size implies ($(client_size "$win" | tr ' ' x))"
    fi
    echo "ok: $2, client $(client_size "$win" | tr ' ' x)"
}
mivrel_focus() { i3-msg "[title=\"^Mivrel\$\"] focus" >/dev/null; }

open_terminal 1
spawn "$exe"
win=$(find_window Mivrel) || fail "main window did not appear"
check started-half "started in a half tile beside a terminal"

stop_process "${terminals[0]}"
wait_until window_size_is "$win" '159[0-9]x[0-9]*' || fail "the window did not take the whole screen: $(client_size "$win")"
check alone "alone on the workspace"

mivrel_focus
open_terminal 2
wait_until ! window_size_is "$win" '159[0-9]x[0-9]*' || fail "no half tile"
check half "half tile"

open_terminal 3
wait_until window_size_is "$win" '53[0-9]x[0-9]*' || fail "no third tile: $(client_size "$win")"
check third "third tile"

mivrel_focus
i3-msg layout splitv >/dev/null
wait_until window_size_is "$win" '159[0-9]x3[0-9][0-9]' || fail "no short wide tile: $(client_size "$win")"
check short "short wide tile of a vertical split"

i3-msg "[title=\"^Mivrel\$\"] fullscreen enable" >/dev/null
wait_until window_size_is "$win" 1600x1000 || fail "not full screen: $(client_size "$win")"
check fullscreen "full screen"

i3-msg "[title=\"^Mivrel\$\"] fullscreen disable" >/dev/null
wait_until window_size_is "$win" '159[0-9]x3[0-9][0-9]' || fail "not back in its tile: $(client_size "$win")"
check back "back from full screen"
echo "PASS: Mivrel tiled by i3"
