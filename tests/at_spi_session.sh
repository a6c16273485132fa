#!/usr/bin/env bash
# Runs a test program where assistive technology listens: on an X server of
# its own under openbox, with a session bus and an accessibility bus, and Qt's
# accessibility on (offscreen, Qt never reports a listener). The program's
# exit status is the script's.
# Usage: at_spi_session.sh <program> [arguments...]
set -euo pipefail
here=$(dirname "$0")
source "$here/e2e_lib.sh"

need openbox dbus-send
start_x 1920x1080
start_session_bus
start_atspi_bus
start_openbox
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
