#!/usr/bin/env bash
# The real program's command line: --help and --version answer without any
# display, a mistake ends with status 1, and Qt's own options reach Qt: with
# DISPLAY unset the window opens on the display -display names, with the
# title and width -qwindowtitle and -qwindowgeometry give.
# Usage: e2e_commandline.sh <mivrel executable> <folder for screenshots> <version>
set -euo pipefail
exe=$1 shots=$2 version=$3
mkdir -p "$shots"
source "$(dirname "$0")/e2e_lib.sh"

headless() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$exe" "$@"; }

out=$(headless --help) || fail "--help ended with status $?"
grep -qx 'Usage: mivrel \[options\]' <<<"$out" || fail "--help printed: $out"
out=$(headless --version) || fail "--version ended with status $?"
[ "$(head -1 <<<"$out")" = "Mivrel $version" ] || fail "--version printed: $out"
status=0
err=$(headless -platform xcb --bogus 2>&1 >/dev/null) || status=$?
[ "$status" = 1 ] || fail "an unknown option ended with status $status"
grep -qx "mivrel: Unknown option 'bogus'." <<<"$err" || fail "an unknown option printed: $err"

need xdotool
start_x 1280x1024

spawn env -u DISPLAY QT_QPA_PLATFORM=xcb "$exe" -display "$DISPLAY" \
    -qwindowtitle 'Mivrel probe' -qwindowgeometry 700x520+30+40
win=$(find_window 'Mivrel probe') || fail "no window titled by -qwindowtitle on the -display"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 700 ] || fail "width $WIDTH, expected the 700 of -qwindowgeometry"
