#!/usr/bin/env bash
# The slip as a blind user fills it, with the screen reader Orca: on its own
# X server, session and accessibility buses, Orca speaks through
# speech-dispatcher, whose only module appends every utterance to a file
# (sound goes to an ALSA null device). The script drives the slip by keyboard
# and checks what Orca said.
# Usage: e2e_orca.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
here=$(dirname "$0")
source "$here/e2e_lib.sh"
export PATH=/usr/bin:$PATH  # Orca is a Python program of Debian's interpreter

need orca speech-dispatcher xdotool import dbus-send
start_x 1280x1024 -ardelay 400 -arinterval 150
start_session_bus
start_atspi_bus

# A private home: Orca's settings, speech-dispatcher's configuration, ALSA.
export HOME=$e2e_tmp/home XDG_CONFIG_HOME=$e2e_tmp/home/.config XDG_DATA_HOME=$e2e_tmp/home/.local/share
export XDG_RUNTIME_DIR=$e2e_tmp/runtime LC_ALL=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR" "$e2e_tmp/speechd-log"
chmod 700 "$XDG_RUNTIME_DIR"
echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
speech=$e2e_tmp/speech.txt
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
win=$(find_window Mivrel) || fail "main window did not appear"
xdotool windowfocus --sync "$win"

said() { grep -qF -- "$1" "$speech"; }
orca_speaks() { said 'Screen reader on'; }
start_env orca orca_speaks orca --debug-file="$e2e_tmp/orca-debug.txt"
wait_until said '住所又は居所 text' || fail "Orca did not announce the box the editor opens on"

# Each step: the key, then what Orca must say after it (new speech only).
expect() {
    local what=$1
    wait_until said_since "$what" || {
        echo "--- Orca said:"; tail -n +"$mark" "$speech"; fail "Orca did not say: $what"; }
}
said_since() { tail -n +"$mark" "$speech" | grep -qF -- "$1"; }
step() { mark=$(($(wc -l < "$speech") + 1)); }

# Quick Tabs from the address to 支払金額: each box named with its role.
for name in '受給者番号 text' 'フリガナ text' '氏名 text' '支払金額 text'; do
    step; xdotool key Tab; expect "$name"
done
expect '6898700'

# Tab held across the boxes: the framed boxes are announced as the frame
# moves, never as read only, and so is the box the editor lands on.
step
xdotool keydown Tab; wait_until said '源泉徴収税額'; xdotool keyup Tab
expect '源泉徴収税額 text'
! tail -n +"$mark" "$speech" | grep -q 'read only' || fail "an editable box was announced read only"

# A mark toggled with Space is announced with its new state.
step; xdotool key Tab; expect 'check box'
before=$(tail -n +"$mark" "$speech" | grep -o 'not checked\|checked' | tail -1)
step; xdotool key space
if [ "$before" = checked ]; then expect 'not checked'; else expect 'checked'; fi

shoot "$win" orca-slip
kill -0 "$last_pid" 2>/dev/null || true
echo "PASS: Orca announced the boxes, a held Tab and a toggled mark"
