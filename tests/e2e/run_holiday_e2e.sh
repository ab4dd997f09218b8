#!/bin/bash
# End to end: an alarm that follows China's official working days, under a wall clock set by
# libfaketime. It rings at 07:30 on a make-up Sunday (2026-09-20) and not on a Monday of 国庆节
# (2026-10-05), where an alarm of plain weekdays rings.
# usage: run_holiday_e2e.sh KESTRIN_BINARY
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
[ -n "$faketime_lib" ] || fail "libfaketime is not installed"
start_desktop || fail "no X server with a notification area"

# ring_at DAY REPEAT: whether an alarm of REPEAT at 07:30:00, saved by an earlier run, rings on DAY
# when the program starts eight seconds before.
ring_at() {
    local dir="$work/$1-$2"
    mkdir -p "$dir"
    cp "$(dirname "$exe")"/*.wav "$dir/"
    printf '[alarms]\nalarm1\\time=07:30:00\nalarm1\\rings=1\nalarm1\\repeat=%s\nalarm1\\prompt=起床\n' "$2" \
        >"$dir/kestrin.ini"
    LD_PRELOAD="$faketime_lib" FAKETIME="@$1 07:29:52" "$exe" --dir "$dir" >"$dir/kestrin.log" 2>&1 &
    local kpid=$!
    pids+=($kpid)
    wait_for 10 xq main-visible $kpid >/dev/null || fail "main window never appeared ($1)"
    if wait_for 20 xq notice-visible $kpid >/dev/null; then echo 1; else echo 0; fi
    kill $kpid
    wait $kpid 2>/dev/null
}

[ "$(ring_at 2026-09-20 official-workdays)" = 1 ] || fail "the alarm did not ring on a make-up Sunday"
echo "rang on the make-up Sunday 2026-09-20"
[ "$(ring_at 2026-10-05 official-workdays)" = 0 ] || fail "the alarm rang on 国庆节"
echo "silent on the holiday Monday 2026-10-05"
[ "$(ring_at 2026-10-05 weekdays)" = 1 ] || fail "a weekday alarm did not ring on Monday 2026-10-05"
echo "a plain weekday alarm rang on 2026-10-05"
echo "3 passed, 0 failed"
