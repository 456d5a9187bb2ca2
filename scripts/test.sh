#!/usr/bin/env bash
# Builds everything and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
# Without arguments the long tests (label "long") are left out; any arguments replace that choice.
[ $# -eq 0 ] && set -- -LE long
ctest --output-on-failure -j "$(nproc)" "$@"
