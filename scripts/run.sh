#!/usr/bin/env bash
# Builds everything, makes the demo card in build/demo-card and starts the viewer on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
card="$root/build/demo-card"
[ -d "$card/DCIM" ] || "$root/build/bin/vx880-mkcard" "$card"
if [ -x "$root/build/bin/vx880-player" ]; then
  exec "$root/build/bin/vx880-player" "$card"
fi
find "$card/DCIM" -type f | sort | xargs "$root/build/bin/vx880-telemetry" --summary
