#!/usr/bin/env bash
# Checks the Debian package: its files and dependencies, its menu entry, and
# that the installed program starts and shows its window.
# Usage: check-package.sh <package.deb>
set -euo pipefail
deb=$1
fail() { echo "FAIL: $*"; exit 1; }

files=$(dpkg-deb -c "$deb")
for path in ./usr/bin/mivrel ./usr/share/applications/mivrel.desktop \
            ./usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/mivrel.png; do
    grep -q " $path\$" <<<"$files" || fail "$path missing from the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 qt6-qpa-plugins fonts-ipafont-mincho fonts-ipafont-gothic; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
echo "package files and Depends: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/mivrel.desktop"
fi
grep -q '^Exec=mivrel$' "$root/usr/share/applications/mivrel.desktop" || fail "menu entry does not start mivrel"
file "$root/usr/share/icons/hicolor/256x256/apps/mivrel.png" | grep -q '256 x 256' || fail "256 pixel icon has the wrong size"

# Start the installed program the way the menu entry does and wait for its window.
QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    PATH="$1/usr/bin:$PATH" mivrel & pid=$!
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^Mivrel\$" >/dev/null 2>&1 && { kill $pid; echo "installed program shows its window"; exit 0; }
        sleep 0.2
    done
    kill $pid 2>/dev/null; exit 1' _ "$root" || fail "the installed program did not show its window"
echo "PASS: package check"
