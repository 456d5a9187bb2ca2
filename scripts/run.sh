#!/usr/bin/env bash
# Builds everything, makes the demo card in build/demo-card and starts the viewer on it. Without a
# display the viewer runs under Xvfb, writes a screenshot of its window and the script prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
card="$root/build/demo-card"
# setup.cfg is written last: without it the card is missing or was cut short, and is made again.
[ -f "$card/setup.cfg" ] || "$root/build/bin/vx880-mkcard" --force "$card"
# The card's recordings, each with a line about its telemetry. The names go through NUL-separated lists
# and an array, so folders with spaces or quotes in their names stay whole.
mapfile -d '' recordings < <(find "$card/DCIM" -type f -print0 | sort -z)
if [ "${#recordings[@]}" -gt 0 ]; then
  "$root/build/bin/vx880-telemetry" --summary -- "${recordings[@]}" || true
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/bin/vx880-player" "$card"
fi
shot="$root/build/demo-card-screenshot.png"
echo "No display: the viewer plays the demo card under Xvfb and writes its window to a picture."
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/bin/vx880-player" --screenshot "$shot" --after 3 "$card"
echo "Screenshot of the viewer playing the demo card: $shot"
