#!/usr/bin/env bash
# The running program as a screen reader reads it: on its own X server and
# session bus, with an accessibility bus of its own, Mivrel starts with
# accessibility on and e2e_atspi.py reads the slip through AT-SPI.
# Usage: e2e_atspi.sh <mivrel executable> <folder for screenshots>
set -euo pipefail
exe=$1 shots=$2
mkdir -p "$shots"
here=$(dirname "$0")
source "$here/e2e_lib.sh"
python=/usr/bin/python3  # Debian's interpreter, which has pyatspi

need xdotool import dbus-send
"$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }
# No auto-repeat: a key held down stays one press, however slow the machine.
start_x 1280x1024 -ardelay 60000
start_session_bus
start_atspi_bus
export QT_QPA_PLATFORM=xcb

spawn env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$exe"
win=$(find_window Mivrel) || fail "main window did not appear"
xdotool windowfocus --sync "$win"

"$python" "$here/e2e_atspi.py" || fail "a screen reader does not read the slip as it should"
ours "$last_pid" || fail "the program ended unexpectedly"
echo "PASS: the slip read through AT-SPI"
