#!/usr/bin/env bash
# Japanese through a real input method: fcitx5 with the Anthy engine, in a
# session bus of its own. Text typed and converted in the 氏名 box is stored;
# in a mark box every key toggles the mark, with the input method on or off.
# What the editor holds is read over AT-SPI, as a screen reader reads it.
# Usage: e2e_input_method.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"

need xdotool import fcitx5 fcitx5-remote
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }
start_x 1280x1024
start_session_bus

# A private profile whose input methods are the US keyboard and Anthy.
export HOME=$e2e_tmp/home
mkdir -p "$HOME/.config/fcitx5"
cat > "$HOME/.config/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=anthy

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=anthy
Layout=

[GroupOrder]
0=Default
PROFILE

start_atspi_bus
fcitx5_up() { on_session_bus org.fcitx.Fcitx5; }
start_env fcitx5 fcitx5_up \
    fcitx5 --disable=wayland,waylandim,kimpanel,notificationitem,clipboard,xim,ibusfrontend,fcitx4frontend

export QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
spawn "$exe"
win=$(find_window Mivrel) || fail "main window did not appear"
xdotool windowfocus --sync "$win"

editor_holds() { [ "$(/usr/bin/python3 "$here/atspi_focused_text.py")" = "$1" ]; }
input_method_on() { [ "$(fcitx5-remote)" = 2 ]; }

# 氏名 (cell 6 at width 476): みほん converted to 見本, committed, stored.
xdotool mousemove --window "$win" 380 80 click 1
wait_until editor_holds '見本　太郎' || fail "the editor did not open on 氏名"
xdotool key ctrl+a BackSpace
fcitx5-remote -o
wait_until input_method_on || fail "the input method did not switch on"
xdotool type --delay 50 mihon
xdotool key space
xdotool key Return
xdotool key Tab
xdotool key shift+Tab   # back onto 氏名: the editor shows what was stored
wait_until editor_holds '見本' || fail "氏名 holds '$(/usr/bin/python3 "$here/atspi_focused_text.py")', not 見本"
shoot "$win" input-method-name

# The mark 有 (cell 23), set in the sample: each key toggles it.
xdotool mousemove --window "$win" 7 194 click 1
wait_until editor_holds '○' || fail "the editor did not open on the mark 有"
for state in on off; do
    [ "$state" = off ] && fcitx5-remote -c
    xdotool key a
    wait_until editor_holds '' || fail "a key did not clear the mark (input method $state)"
    xdotool key x
    wait_until editor_holds '○' || fail "a key did not set the mark (input method $state)"
done
echo "PASS: input method session"
