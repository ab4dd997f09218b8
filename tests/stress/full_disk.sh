#!/bin/bash
# Runs tst_fulldisk on a 256 KiB tmpfs where this machine lets us mount one (root); else it skips.
# usage: full_disk.sh TEST_BINARY
set -u
dir=$(mktemp -d)
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256k tmpfs "$dir" 2>/dev/null; then
    KESTRIN_FULL_DISK_DIR=$dir QT_QPA_PLATFORM=offscreen "$1"
    code=$?
    umount "$dir"
else
    QT_QPA_PLATFORM=offscreen "$1"
    code=$?
fi
rmdir "$dir"
exit $code
