#!/usr/bin/env bash
# Builds everything, makes the demo card in build/demo-card and starts the viewer on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
card="$root/build/demo-card"
[ -f "$card/setup.cfg" ] || "$root/build/bin/vx880-mkcard" "$card"
# The card's recordings, each with a line about its telemetry.
find "$card/DCIM" -type f | sort | xargs "$root/build/bin/vx880-telemetry" --summary || true
first=$(find "$card/DCIM" -type f -name '*.MP4' | sort | head -n 1)
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show the viewer on: run this in a desktop session, or under xvfb-run." >&2
  exit 1
fi
cd "$root/build/bin"  # the viewer reads Setting.ini from its working folder
exec "$root/build/bin/vx880-player" "$first"
