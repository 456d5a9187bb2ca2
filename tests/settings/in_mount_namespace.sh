#!/bin/sh
# Runs a test program in a private mount namespace, where its tests may mount file systems without touching
# the computer's own mount table: as root `unshare --mount`, otherwise a user namespace maps the user to root.
# Where the machine cannot make one, the "SKIPPED:" line has CTest count the test as skipped.
unshare="unshare --mount --propagation private"
[ "$(id -u)" = 0 ] || unshare="$unshare --map-root-user"
if ! $unshare true 2>/dev/null; then
  echo "SKIPPED: unshare cannot make a mount namespace here"
  exit 0
fi
VX_MOUNT_NAMESPACE=1 exec $unshare "$@"
