#!/usr/bin/env bash
# Builds everything, makes the Debian package build/vx880_VERSION_ARCH.deb and installs it with apt
# (its dependencies too); --no-install only makes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
rm -f "$root"/build/vx880_*.deb
(cd "$root/build" && cpack -G DEB >/dev/null)
deb=$(ls "$root"/build/vx880_*.deb)
echo "built $deb"
[ "${1:-}" = "--no-install" ] && exit 0
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"
