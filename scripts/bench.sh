#!/usr/bin/env bash
# Builds everything and runs every benchmark; each prints `name: value` lines with its ratio to GStreamer last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
for bench in "$root"/build/bin/*_bench; do
  echo "== $(basename "$bench")"
  "$bench"
done
