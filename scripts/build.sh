#!/usr/bin/env bash
# Installs what is missing, configures build/ and builds everything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_WERROR=$werror >/dev/null
cmake --build "$root/build" -j "$(nproc)"
