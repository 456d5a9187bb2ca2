#!/usr/bin/env bash
# The Debian package as a user meets it: built by cpack, checked by lintian, its desktop entry and metainfo
# validated, unpacked (dpkg -x) and its programs run from a folder of their own, the viewer making a screenshot
# of a recording the unpacked card maker wrote: it must show the picture, and must not once the data is gone.
# Usage: package_test.sh BUILD_DIR [SCREENSHOT.png]
set -euo pipefail
build=$1
shot_copy=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >/dev/null
deb=$(ls "$work"/deb/*.deb)
lintian --fail-on error "$deb" 2>&1 | { grep -v 'running with root privileges' || true; }

root=$work/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
  test -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.vx880.viewer.png"
done
test -s "$root/usr/share/vx880/Setting.ini"
test -s "$root/usr/share/vx880/leaflet/LICENSE"
for page in vx880-player vx880-mkcard vx880-telemetry vx880-export; do
  MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >/dev/null
done

mkdir "$work/elsewhere"
cd "$work/elsewhere"
"$root/usr/bin/vx880-mkcard" --version
"$root/usr/bin/vx880-mkcard" --file drive.MP4 --seconds 3 >/dev/null
"$root/usr/bin/vx880-telemetry" --summary drive.MP4
"$root/usr/bin/vx880-export" --from 0 --to 1 --out clip.mp4 drive.MP4 >/dev/null
"$root/usr/bin/vx880-export" --verify clip.manifest.txt --card . >/dev/null

# Distinct colours in a rectangle (LEFT TOP WIDTH HEIGHT, width a multiple of 4 so rows carry no padding) of a
# PNG; 0 when it is no PNG.
region_colours() {
  local png=$1 left=$2 top=$3 w=$4 h=$5 width height
  [ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo 0; return; }
  read -r width height < <(od -An -j16 -N8 -tu1 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  gst-launch-1.0 -q filesrc location="$png" ! pngdec ! videoconvert \
    ! videocrop left="$left" top="$top" right=$((width - left - w)) bottom=$((height - top - h)) \
    ! videoconvert ! video/x-raw,format=RGB ! filesink location="$png.rgb" >/dev/null
  od -An -v -tx1 -w3 "$png.rgb" | sort -u | wc -l
}

# Whether the viewer of the unpacked root shows drive.MP4 as it should: the front view (20,70 640x367 of
# the window) holds a picture, hundreds of colours where an empty view has one; and the recording list's
# column titles, read from the data folder's texts, are drawn (a bare header is a gradient of about 20).
shows_recording() {
  rm -f shot.png
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/vx880-player" drive.MP4 --screenshot shot.png --after 2 \
    >/dev/null 2>&1 || true
  local picture titles
  picture=$(region_colours shot.png 20 70 640 367)
  titles=$(region_colours shot.png 680 331 312 12)
  echo "screenshot: $(stat -c %s shot.png 2>/dev/null || echo 0) bytes, $picture colours in the front view," \
       "$titles in the list's header"
  [ "$picture" -ge 64 ] && [ "$titles" -ge 64 ]
}

shows_recording
[ -n "$shot_copy" ] && cp shot.png "$shot_copy"

# The same check without the data folder must fail.
rm -r "$root/usr/share/vx880"
if shows_recording; then
  echo "the screenshot check passed without usr/share/vx880"
  exit 1
fi
