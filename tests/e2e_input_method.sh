#!/usr/bin/env bash
# Japanese through a real input method, in a session bus of its own: fcitx5 or
# IBus, with the Anthy or the Mozc engine. The bus, the input method and Mivrel
# run as an unprivileged user (Mozc's server refuses root). Checked, reading
# what the editor and the slip's boxes hold over AT-SPI as a screen reader
# does:
# - みほん converted to 見本 in 氏名 is stored;
# - a composition still open in 氏名 when 住所 is clicked goes into 氏名, and
#   住所 is left as it was: the next Return there only breaks the line;
# - in a mark box every key toggles the mark, with the input method on or
#   off, and Tab leaves the box; the box after it composes from its first key;
# - 123 typed with the input method on comes out as 「１２３」 and stores 123 in
#   an amount box.
# Usage: e2e_input_method.sh <mivrel executable> <folder for screenshots> [fcitx5|ibus] [anthy|mozc]
set -euo pipefail
exe=$1 shots=$2 framework=${3:-fcitx5} engine=${4:-anthy}
mkdir -p "$shots"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
export PATH=/usr/bin:$PATH  # Debian's python3: pyatspi, and the IBus Anthy engine's gi
name=input-method-$framework-$engine

need xdotool import convert dbus-send setpriv
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }
case $framework-$engine in  # the programs, and the engine's files
    fcitx5-*) need fcitx5 fcitx5-remote; engine_file=/usr/share/fcitx5/inputmethod/$engine.conf ;;
    ibus-anthy) need ibus-daemon ibus; engine_file=/usr/libexec/ibus-engine-anthy ;;
    ibus-mozc) need ibus-daemon ibus; engine_file=/usr/share/ibus/component/mozc.xml ;;
    *) echo "unknown input method $framework-$engine"; exit 2 ;;
esac
[ -e "$engine_file" ] || { echo "SKIP: $framework-$engine not installed"; exit 77; }

start_x_for_user 1280x1024
start_session_bus as_user
start_user_atspi_bus
user_copy "$exe" "$here/atspi_focused_text.py" "$here/atspi_box.py"

# ---- the input method, switched on and off
start_fcitx5() {
    as_user mkdir -p "$user_home/.config/fcitx5"
    as_user tee "$user_home/.config/fcitx5/profile" >/dev/null <<PROFILE
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=$engine

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=$engine
Layout=

[GroupOrder]
0=Default
PROFILE
    # Anthy under fcitx5 gives half-width digits unless told otherwise.
    as_user mkdir -p "$user_home/.config/fcitx5/conf"
    printf '[General]\nRomajiHalfNumber=False\n' | as_user tee "$user_home/.config/fcitx5/conf/anthy.conf" >/dev/null
    start_env fcitx5 fcitx5_up as_user \
        fcitx5 --disable=wayland,waylandim,kimpanel,notificationitem,clipboard,xim,ibusfrontend,fcitx4frontend
    export QT_IM_MODULE=fcitx
}
fcitx5_up() { on_user_session_bus org.fcitx.Fcitx5; }
fcitx5_on() { [ "$(as_user fcitx5-remote)" = 2 ]; }

# IBus on an address of its own (without -d the daemon ends at once, its
# parent gone); the engine is chosen once the daemon answers.
start_ibus() {
    export IBUS_ADDRESS=unix:path=$e2e_tmp/user-runtime/ibus
    start_env ibus ibus_up as_user ibus-daemon -d -r --panel=disable --emoji-extension=disable --address="$IBUS_ADDRESS"
    export QT_IM_MODULE=ibus
}
ibus_up() { as_user ibus list-engine >/dev/null 2>&1; }
ibus_engine() { [ "$engine" = mozc ] && echo mozc-jp || echo "$engine"; }
ibus_on() { as_user ibus engine "$(ibus_engine)" >/dev/null 2>&1; [ "$(as_user ibus engine)" = "$(ibus_engine)" ]; }
ibus_off() { as_user ibus engine xkb:us::eng >/dev/null 2>&1; [ "$(as_user ibus engine)" = xkb:us::eng ]; }

# Switches the input method on, typing into the focused editor; Anthy under
# IBus starts with Latin input, which Ctrl+J turns to hiragana.
input_method_on() {
    if [ "$framework" = fcitx5 ]; then
        as_user fcitx5-remote -o
        wait_until fcitx5_on || env_fail "fcitx5 did not switch $engine on" "$e2e_tmp/fcitx5.log"
    else
        wait_until ibus_on || env_fail "IBus did not switch to $engine" "$e2e_tmp/ibus.log"
        [ "$engine" = anthy ] && xdotool key ctrl+j
        [ "$engine" = mozc ] && xdotool key Zenkaku_Hankaku
    fi
    return 0
}
input_method_off() {
    if [ "$framework" = fcitx5 ]; then
        as_user fcitx5-remote -c
    else
        wait_until ibus_off || env_fail "IBus did not switch to the US keyboard" "$e2e_tmp/ibus.log"
    fi
}

"start_$framework"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
spawn as_user "$user_files/$(basename "$exe")"
win=$(find_window Mivrel) || fail "main window did not appear"
xdotool windowfocus --sync "$win"

# ---- reading the program
editor_text() { as_user /usr/bin/python3 "$user_files/atspi_focused_text.py"; }
# The echo keeps the line breaks at the end of the editor's text.
editor_holds() { [ "$(editor_text; echo .)" = "$1"$'\n.' ]; }
box_text() { as_user /usr/bin/python3 "$user_files/atspi_box.py" "$@"; }
box_shows() { [ "$(box_text "$1"; echo .)" = "$2"$'\n.' ]; }
clear_editor() { xdotool key ctrl+a BackSpace; wait_until editor_holds '' || fail "the editor was not cleared"; }
click_box() {
    local at
    at=$(box_text --centre "$1") || fail "no box $1 on the slip"
    xdotool mousemove $at click 1
}
# Whether the editor on the box shows a third full-width character (11 pixels
# wide in the editor's face), composed or committed: three typed half-width
# characters never reach it.
third_character_shown() {
    local at
    at=$(box_text --origin "$1") || return 1
    set -- $at
    has_ink $(($1 + 26)) $(($2 + 4)) 9 10
}

NAME='支払を受ける者 氏名' ADDRESS='支払を受ける者 住所又は居所'
SPOUSE='控除対象配偶者の有無等 有' SPOUSE_ELDERLY='控除対象配偶者の有無等 老人'
SPOUSE_SPECIAL='配偶者特別控除の額' SALARY='支払金額'
SAMPLE_ADDRESS=$'東京都架空区見本町１－２\nサンプルハイツ４５６号'

# ---- 氏名: みほん converted to 見本, committed, stored
click_box "$NAME"
wait_until editor_holds '見本　太郎' || fail "the editor did not open on 氏名"
xdotool key ctrl+a BackSpace
input_method_on
xdotool type --delay 50 mihon
xdotool key space
xdotool key Return
xdotool key Tab
xdotool key shift+Tab   # back onto 氏名: the editor shows what was stored
wait_until editor_holds '見本' || fail "氏名 holds '$(editor_text)', not 見本"
shoot "$win" "$name-converted"

# ---- a composition open in 氏名 when 住所 is clicked
clear_editor
xdotool type --delay 50 tarou
wait_until third_character_shown "$NAME" || fail "the composition たろう did not show in 氏名"
shoot "$win" "$name-composing"
click_box "$ADDRESS"
wait_until box_shows "$NAME" 'たろう' || fail "氏名 shows '$(box_text "$NAME")', not たろう"
editor_holds "$SAMPLE_ADDRESS" || fail "住所 changed when the editor came: '$(editor_text)'"
xdotool key Return       # would confirm a composition the input method still held
wait_until editor_holds "$SAMPLE_ADDRESS"$'\n' || fail "Return in 住所 gave '$(editor_text)', not a line break"
xdotool key BackSpace

# ---- Tab leaves a mark box, and the box after it composes from its first key
click_box "$SPOUSE_SPECIAL"
wait_until editor_holds '80000' || fail "the editor did not open on 配偶者特別控除の額"
clear_editor
click_box "$SPOUSE_ELDERLY"
wait_until box_shows "$SPOUSE_SPECIAL" '' || fail "配偶者特別控除の額 was not stored blank"
xdotool key k
wait_until editor_holds '○' || fail "a key did not set the mark 老人 (input method on)"
xdotool key Tab
wait_until box_shows "$SPOUSE_ELDERLY" '○' || fail "Tab did not leave the mark 老人 (input method on)"
xdotool type --delay 50 ka
xdotool key Return
wait_until editor_holds 'か' || fail "ka typed after the mark gave '$(editor_text)', not か"

# ---- 123 typed with the input method on comes out full-width, composed or
# committed at once; a click elsewhere stores it as 123
clear_editor
xdotool type --delay 50 123
wait_until third_character_shown "$SPOUSE_SPECIAL" || fail "123 typed with the input method on did not come out full-width"
shoot "$win" "$name-full-width"
click_box "$SALARY"
wait_until box_shows "$SPOUSE_SPECIAL" '123' || fail "１２３ was not stored as 123: the box shows '$(box_text "$SPOUSE_SPECIAL")'"

# ---- every key toggles the mark 有, with the input method on and off
for state in on off; do
    [ "$state" = off ] && input_method_off
    click_box "$SPOUSE"
    wait_until editor_holds '○' || fail "the editor did not open on the mark 有"
    xdotool key a
    wait_until editor_holds '' || fail "a key did not clear the mark (input method $state)"
    xdotool key x
    wait_until editor_holds '○' || fail "a key did not set the mark (input method $state)"
done
echo "PASS: input method session ($framework, $engine)"
