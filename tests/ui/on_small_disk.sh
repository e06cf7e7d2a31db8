#!/bin/sh
# Runs the full-disk tests of the window test binary $1 on a 1 MiB tmpfs of
# their own, in a private mount namespace, so nothing outside is touched.
# Exits 77 (skipped) where the system allows no such namespace.
set -u
binary=$1
mount_point=$(mktemp -d)
trap 'rmdir "$mount_point"' EXIT
if [ "$(id -u)" -eq 0 ]; then namespace="unshare --mount"; else namespace="unshare --user --map-root-user --mount"; fi
$namespace true 2>/dev/null || { echo "no private mount namespace here: skipped"; exit 77; }
exec $namespace sh -c '
  mount -t tmpfs -o size=1m zeltano-small-disk "$1" || exit 77
  ZELTANO_SMALL_DISK="$1" "$2" --gtest_filter="FullDisk.*"
' sh "$mount_point" "$binary"
