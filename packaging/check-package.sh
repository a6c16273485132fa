#!/usr/bin/env bash
# Checks the Debian package: Debian's checker (lintian), the AppStream metadata,
# the menu entry, the files and dependencies, the version the installed program
# reports, and that it starts and shows its window. Any error or warning fails.
# Usage: check-package.sh <package.deb>
set -euo pipefail
deb=$1
id=jp.example.Mivrel
fail() { echo "FAIL: $*"; exit 1; }

version=$(dpkg-deb -f "$deb" Version)
echo "== lintian $(lintian --version | awk '{ print $2 }') on $(basename "$deb")"
# Run as root (as in CI), lintian adds a notice that this is not recommended;
# it changes nothing in the checks.
lintian_status=0
lintian_out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v '^running with root privileges is not recommended!$' <<<"$lintian_out" || true)
echo "${lintian_out:-no tags}"
[ "$lintian_status" = 0 ] || fail "lintian reports errors or warnings"

files=$(dpkg-deb -c "$deb")
for path in ./usr/bin/mivrel ./usr/share/applications/$id.desktop \
            ./usr/share/metainfo/$id.metainfo.xml ./usr/share/man/man1/mivrel.1.gz \
            ./usr/share/doc/mivrel/copyright ./usr/share/doc/mivrel/changelog.gz \
            ./usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/mivrel.png; do
    grep -q " $path\$" <<<"$files" || fail "$path missing from the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in 'libc6 (>=' 'libqt6widgets6 (>=' qt6-qpa-plugins fonts-ipafont-mincho fonts-ipafont-gothic; do
    grep -qF "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
echo "Depends: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

echo "== appstreamcli validate --no-net $id.metainfo.xml"
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
appstream_status=0
appstream_out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || appstream_status=$?
echo "$appstream_out"
[ "$appstream_status" = 0 ] && ! grep -q '^[EW]:' <<<"$appstream_out" \
    || fail "the AppStream metadata has errors or warnings"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no AppStream release entry for $version"

echo "== desktop-file-validate $id.desktop"
desktop=$root/usr/share/applications/$id.desktop
desktop_out=$(desktop-file-validate "$desktop" 2>&1) || fail "$desktop_out"
[ -z "$desktop_out" ] || fail "$desktop_out"
grep -q '^Exec=mivrel$' "$desktop" || fail "menu entry does not start mivrel"
echo "no errors or warnings"

file "$root/usr/share/icons/hicolor/256x256/apps/mivrel.png" | grep -q '256 x 256' \
    || fail "256 pixel icon has the wrong size"
zcat "$root/usr/share/doc/mivrel/changelog.gz" | head -1 | grep -qF "mivrel ($version)" \
    || fail "the changelog does not start with version $version"
zcat "$root/usr/share/man/man1/mivrel.1.gz" | grep -q "^\.TH MIVREL 1 .*\"Mivrel $version\"" \
    || fail "the manual page is not for version $version"

# The installed program answers --version without a display.
reported=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/mivrel" --version | head -1)
[ "$reported" = "Mivrel $version" ] || fail "mivrel --version says '$reported', expected 'Mivrel $version'"
echo "mivrel --version: $reported"

# Start the installed program the way the menu entry does and wait for its window.
(
    source "$(dirname "$0")/../tests/e2e_lib.sh"
    start_x 1024x768
    PATH="$root/usr/bin:$PATH" QT_QPA_PLATFORM=xcb spawn mivrel
    find_window Mivrel > /dev/null
) || fail "the installed program did not show its window"
echo "installed program shows its window"
echo "PASS: package check"
