#!/usr/bin/env bash
# Builds the core, the tools and their tests with the address and undefined-behaviour sanitizers in
# build-asan/ and runs those tests there: the card maker and the telemetry export run sanitized under them.
# Arguments go to CTest (e.g. -R tools_tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_SANITIZE=ON >/dev/null
cmake --build "$root/build-asan" -j "$(nproc)" --target vx880-mkcard vx880-telemetry core_tests tools_tests
cd "$root/build-asan"
ctest --output-on-failure -R '^(core_tests|tools_tests)$' "$@"
