#!/usr/bin/env bash
# scripts/run.sh in a checkout whose path holds a space and a quote: it makes the demo card once (also over a
# run cut short before setup.cfg), prints a summary line per recording and starts the viewer on the card.
# The build step and the viewer are stand-ins; the tools are the real ones.
# Usage: run_script_test.sh SOURCE_DIR BIN_DIR
set -euo pipefail
source_dir=$1
bin_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tree="$work/it's a checkout"
mkdir -p "$tree/scripts" "$tree/build/bin"
cp "$source_dir/scripts/run.sh" "$tree/scripts/"
printf '#!/bin/sh\n' >"$tree/scripts/build.sh"
# A short card keeps the test quick; the options come before run.sh's own.
printf '#!/bin/sh\nexec "%s/vx880-mkcard" --seconds 1 --count 1 "$@"\n' "$bin_dir" >"$tree/build/bin/vx880-mkcard"
ln -s "$bin_dir/vx880-telemetry" "$tree/build/bin/vx880-telemetry"
printf '#!/bin/sh\nprintf "viewer:%%s\\n" "$@"\n' >"$tree/build/bin/vx880-player"
chmod +x "$tree/scripts/build.sh" "$tree/build/bin/vx880-mkcard" "$tree/build/bin/vx880-player"

card="$tree/build/demo-card"
mkdir -p "$card/DCIM/100DRIVE"  # a run cut short: recordings begun, no setup.cfg yet
check_run() {
  local out recordings summaries
  out=$(DISPLAY=:stand-in bash "$tree/scripts/run.sh" 2>&1)
  recordings=$(find "$card/DCIM" -type f | wc -l)
  summaries=$(grep -c "^$card/DCIM/.*: [0-9]* records" <<<"$out" || true)
  if [ "$recordings" -lt 7 ] || [ "$summaries" -ne "$recordings" ] || ! grep -qxF "viewer:$card" <<<"$out"; then
    echo "run.sh: $recordings recordings, $summaries summary lines; it printed:"
    echo "$out"
    exit 1
  fi
}

check_run
test -f "$card/setup.cfg"
touch -d '2000-01-01' "$card/setup.cfg"
check_run
# The second run kept the card it found.
test "$(stat -c %Y "$card/setup.cfg")" = "$(date -d 2000-01-01 +%s)"
