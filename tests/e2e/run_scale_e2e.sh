#!/bin/bash
# The pictures at the screen scales of today's laptops, under Xvfb: the layout at scale 2 and 1.5 is
# the one at 1, each rectangle the scale times larger, and the pictures are drawn for the screen.
# usage: run_scale_e2e.sh TST_SCALEDPICTURES
set -u
test=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
start_desktop || fail "no X server with a notification area"
export KESTRIN_LAYOUT_FILE="$work/layout" QT_QPA_PLATFORM=xcb
for scale in 1 2 1.5; do
    QT_SCALE_FACTOR=$scale "$test" 2>&1 | grep -E "^(PASS|FAIL|QINFO|   )" | grep -v "initTestCase\|cleanupTestCase"
    [ "${PIPESTATUS[0]}" = 0 ] || fail "at scale $scale"
done
echo "3 passed, 0 failed"
