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
cd "$root/build/bin"  # the viewer reads Setting.ini from its working folder
exec "$root/build/bin/vx880-player" "$first"
