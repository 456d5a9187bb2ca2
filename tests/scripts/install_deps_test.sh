#!/usr/bin/env bash
# install-deps.sh as a user with sudo: apt-get must see DEBIAN_FRONTEND=noninteractive although sudo
# resets the environment. sudo, id, dpkg-query and apt-get are stand-ins that record what they were given.
set -euo pipefail
script=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
# Like sudo with its default env_reset: the command runs with a fresh environment.
cat >"$fake/sudo" <<STUB
#!/bin/sh
exec env -i PATH="$fake:/usr/bin:/bin" "\$@"
STUB
cat >"$fake/apt-get" <<STUB
#!/bin/sh
echo "apt-get \$1 DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-unset}" >>"$fake/log"
STUB
chmod +x "$fake"/*
PATH="$fake:$PATH" "$script" >/dev/null
cat "$fake/log"
grep -q '^apt-get install DEBIAN_FRONTEND=noninteractive$' "$fake/log"
