#!/usr/bin/env bash
# The Debian package as a user meets it: built by cpack, checked by lintian, its desktop entry and
# metainfo validated, unpacked into a throw-away root (dpkg -x) and its programs run from there, from a
# folder of their own, the viewer making a screenshot of a recording the unpacked card maker wrote.
# Usage: package_test.sh BUILD_DIR [SCREENSHOT.png]
set -euo pipefail
build=$1
shot_copy=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >/dev/null
deb=$(ls "$work"/deb/*.deb)
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Depends

echo "== lintian"
status=0
findings=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$findings" || true
[ "$status" -eq 0 ]

root=$work/root
dpkg -x "$deb" "$root"
echo "== desktop-file-validate, appstreamcli validate"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
  test -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.vx880.viewer.png"
done
test -s "$root/usr/share/vx880/Setting.ini"
for page in vx880-mkcard vx880-telemetry; do
  MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >/dev/null
done

echo "== the unpacked programs, started from another folder"
mkdir "$work/elsewhere"
cd "$work/elsewhere"
"$root/usr/bin/vx880-mkcard" --version
"$root/usr/bin/vx880-mkcard" --file drive.MP4 --seconds 3 >/dev/null
"$root/usr/bin/vx880-telemetry" --summary drive.MP4
QT_QPA_PLATFORM=offscreen "$root/usr/bin/vx880-player" drive.MP4 --screenshot shot.png --after 2 2>/dev/null
# A PNG of the whole window, not an empty file.
test "$(head -c 8 shot.png | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a
test "$(stat -c %s shot.png)" -gt 10000
echo "screenshot: $(stat -c %s shot.png) bytes"
[ -n "$shot_copy" ] && cp shot.png "$shot_copy"
echo "package test: passed"
