#!/usr/bin/env bash
# The README's first command, as a user runs it on a desktop: `make run` under
# a real X server must show the main window. The window's program is ended by
# its process id once the window is there.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e_lib.sh
need xdotool
start_x 1280x1024
E2E_WAIT=600   # the first `make run` may still have to build
spawn make run
win=$(find_window Mivrel) || fail "make run showed no window"
pid=$(xdotool getwindowpid "$win")
echo "make run shows the window (process $pid)"
stop_process "$pid"
