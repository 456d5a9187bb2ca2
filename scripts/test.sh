#!/usr/bin/env bash
# Builds everything and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
# Without arguments the long tests (label "long") and the end-to-end window test (label "e2e", not yet
# passing steadily) are left out; any arguments replace that choice.
[ $# -eq 0 ] && set -- -LE "long|e2e"
ctest --output-on-failure -j "$(nproc)" "$@"
