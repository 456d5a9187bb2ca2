#!/usr/bin/env bash
# Builds everything and runs every benchmark; each prints `name: value` lines with its ratio to GStreamer last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
for bench in "$root"/build/bin/*_bench; do
  echo "== $(basename "$bench")"
  case "$(basename "$bench")" in
    engine_cpu_bench)
      # Its views are real windows on an X server of its own, whose CPU it counts with its own.
      QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" ;;
    startup_bench)
      # Offscreen against a decode-only playbin, then on a display where both show their picture.
      "$bench"
      xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" ;;
    *) "$bench" ;;
  esac
done
