#!/usr/bin/env bash
# The slip and its dialogs as a blind user works them, with the screen reader
# Orca: on its own X server (with the openbox window manager), session and
# accessibility buses, Orca speaks through speech-dispatcher, whose only module
# appends every utterance to a file (sound goes to an ALSA null device). The
# script drives the program by keyboard and checks what Orca said.
# Usage: e2e_orca.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
here=$(dirname "$0")
source "$here/e2e_lib.sh"
export PATH=/usr/bin:$PATH  # Orca is a Python program of Debian's interpreter

need orca speech-dispatcher xdotool import dbus-send openbox
start_x 1280x1024 -ardelay 400 -arinterval 250
start_session_bus
start_atspi_bus
start_openbox

# A private home: Orca's settings, speech-dispatcher's configuration, ALSA.
export HOME=$e2e_tmp/home XDG_CONFIG_HOME=$e2e_tmp/home/.config XDG_DATA_HOME=$e2e_tmp/home/.local/share
export XDG_RUNTIME_DIR=$e2e_tmp/runtime LC_ALL=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR" "$e2e_tmp/speechd-log"
chmod 700 "$XDG_RUNTIME_DIR"
echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
speech=$shots/orca-speech.txt  # kept with the screenshots, as Orca's own log
: > "$speech"
cat > "$XDG_CONFIG_HOME/speech-dispatcher/record.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $speech"
AddVoice "en" "MALE1" "en"
GenericLanguage "en" "en" "utf-8"
CONF
cat > "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
LogDir "$e2e_tmp/speechd-log"
AudioOutputMethod "alsa"
AddModule "record" "sd_generic" "$XDG_CONFIG_HOME/speech-dispatcher/record.conf"
DefaultModule record
CONF

export QT_QPA_PLATFORM=xcb
spawn env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$exe"
program=$last_pid
win=$(find_window Mivrel) || fail "main window did not appear"
xdotool windowfocus --sync "$win"

said() { grep -qF -- "$1" "$speech"; }
orca_speaks() { said 'Screen reader on'; }
start_env orca orca_speaks orca --debug-file="$shots/orca-debug.txt"
wait_until said '住所又は居所 text' || fail "Orca did not announce the box the editor opens on"

# Each step: mark where the speech stands, press keys, then check what Orca
# said since the mark.
step() { mark=$(($(wc -l < "$speech") + 1)); }
since() { tail -n +"$mark" "$speech"; }
said_since() { since | grep -qF -- "$1"; }
expect() {
    wait_until said_since "$1" || { echo "--- Orca said:"; since; fail "Orca did not say: $1"; }
}
refuse() {
    ! since | grep -qF -- "$1" || { echo "--- Orca said:"; since; fail "Orca said: $1"; }
}
# What Orca said besides the names of the keys it echoes (which end in a
# space: "tab ", "left shift ").
announcements() { grep -vc ' $' "$speech" || true; }
more_said_than() { [ "$(announcements)" -gt "$1" ]; }
# Whether Orca says nothing new for SECONDS (1 unless given).
quiet() { local lines; lines=$(wc -l < "$speech"); sleep "${1:-1}"; [ "$(wc -l < "$speech")" = "$lines" ]; }
# Presses KEY until Orca says WHAT (at most 60 times), each press answered and
# its speech finished: a key pressed while Orca still works through the last
# focus change (a field that loses its selection says so first) would move the
# focus on before Orca names where it went.
press_until() {
    local key=$1 what=$2 tries=60 before
    step
    while ! said_since "$what"; do
        [ "$tries" -gt 0 ] || { echo "--- Orca said:"; since; fail "Orca never said: $what"; }
        before=$(announcements)
        xdotool key "$key"
        wait_until more_said_than "$before" || true
        E2E_WAIT=5 wait_until quiet 0.5 || true
        tries=$((tries - 1))
    done
}

# A quick Tab into each box: its name, its role and its figure, never "read
# only".
for name in '受給者番号 text' 'フリガナ text' '氏名 text'; do
    step; xdotool key Tab; expect "$name"
done
step; xdotool key Tab; expect '支払金額 text'; expect '6898700'; refuse 'read only'

# Tab held down: the boxes the frame runs over are announced as it moves, and
# the box the editor lands on when the key is let go.
step
xdotool keydown Tab
wait_until said_since '源泉徴収税額 text' || { xdotool keyup Tab; fail "the held Tab did not reach 源泉徴収税額"; }
xdotool keyup Tab
# Where the editor landed, as Orca's "where am I" (keypad Enter) tells; that
# box was announced.
wait_until quiet
held=$(since)
framed=$(grep -c -F -e '給与所得控除後の金額 text' -e '所得控除の額の合計額 text' -e '源泉徴収税額 text' <<< "$held")
[ "$framed" -ge 2 ] || { echo "$held"; fail "the held Tab announced $framed of the boxes it ran over"; }
step; xdotool key KP_Enter
box_said() { since | grep -q ' text\.\?$\| check box'; }
wait_until box_said || { since; fail "Orca's where am I named no box"; }
landing=$(since | grep ' text\.\?$\| check box' | head -1 | sed 's/ \(text\.\?\|check box.*\)$//')
echo "saw: the held Tab landed on $landing"
grep -qF -- "$landing" <<< "$held" || { echo "$held"; fail "the box the held Tab landed on was not announced"; }
! grep -q 'read only' <<< "$held" || { echo "$held"; fail "an editable box was announced read only"; }

# A mark toggled with Space, then with a letter: each new state is announced.
press_until Tab 'check box'
state=$(since | grep -o 'not checked\|checked' | tail -1)
for key in space a; do
    step; xdotool key "$key"
    if [ "$state" = checked ]; then state='not checked'; else state=checked; fi
    expect "$state"
done

# 税額検算: Orca's flat review reads every value with its caption, once, in
# order; closing the dialog announces the button that has the focus again.
press_until shift+Tab '税額検算 push button'
step; xdotool key space; expect '税額の検算 dialog'
step
review_start=$mark
xdotool keydown Insert key KP_Home keyup Insert  # flat review from the top
expect '配偶者控除 380,000 特別障害者控除 特別寡婦控除'
press_until KP_Page_Up '所得税額入力値'
review=$(tail -n +"$review_start" "$speech")
for line in '配偶者控除 380,000 特別障害者控除 特別寡婦控除' '一般扶養控除 760,000 一般寡婦控除 基礎控除 380,000' \
            '控除合計計算値 2,384,630 課税所得計算値 2,624,000 所得税額計算値 151,600' '給与所得 5,008,830' \
            '控除合計入力値 2,384,630 課税所得計算値 2,624,000 所得税額計算値 151,600' \
            '住宅取得等特別控除 84,000 所得税額入力値 151,600'; do
    grep -qxF -- "$line" <<< "$review" || { echo "$review"; fail "flat review did not read: $line"; }
done
! grep -q '配偶者控除 配偶者控除\|frame' <<< "$review" || { echo "$review"; fail "flat review read a caption twice or a frame"; }
shoot "$(find_window 税額の検算)" orca-verify
step; xdotool key Escape; expect '税額検算 push button'

# 税額試算: a typed salary, the new results announced; Tab reaches the sliders
# (their amounts) and the results as read-only fields.
press_until Tab '税額試算 push button'
step; xdotool key space; expect '税額の試算 dialog'
step; xdotool key Tab; expect '給与収入 text'
step; xdotool key ctrl+a; xdotool type --delay 150 5000000
expect '給与所得 3,460,000'
press_until Tab '給与収入 slider 50000000'
press_until Tab '給与所得 read only text'
expect '3,460,000'
step; xdotool key Escape; expect '税額試算 push button'

# 控除検査: a table's column is announced by the words of its two heading rows.
press_until shift+Tab '控除検査 push button'
step; xdotool key space; expect '控除項目の検査 dialog'
step; xdotool key ctrl+Tab; expect '配偶者'
press_until Tab '配偶者特別控除の早見表'
press_until Down ',000'  # a row of the table
press_until Right '配偶者特別控除額 column header'
step; xdotool key Escape; expect '控除検査 push button'

# 項目消去 says that the slip was cleared.
press_until shift+Tab '項目消去 push button'
step; xdotool key space; expect '源泉徴収票のすべての項目を消去しました'

shoot "$win" orca-slip
ours "$program" || fail "the program ended under the screen reader"
echo "PASS: Orca announced the boxes, a held Tab, a toggled mark, the verification's values, a trial result," \
     "a table's heading and the cleared slip"
