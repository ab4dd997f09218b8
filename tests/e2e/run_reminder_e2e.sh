#!/bin/bash
# End to end: an item with a time is reminded at it, under a wall clock set by libfaketime, through
# a notification server on a private session bus: its text and time with the three buttons, and
# 完成 pressed there archives the item in my.log as 删除日程 does.
# usage: run_reminder_e2e.sh KESTRIN_BINARY
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
[ -n "$faketime_lib" ] || fail "libfaketime is not installed"
start_desktop || fail "no X server with a notification area"

dbus-daemon --session --nofork --print-address=3 3>"$work/address" >/dev/null 2>&1 &
pids+=($!)
wait_for 5 test -s "$work/address" >/dev/null || [ -s "$work/address" ] || fail "no private session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/address")
/usr/bin/python3 "$here/../platform/fake_notifications.py" "$work/sent" actions 2>"$work/server.err" &
pids+=($!)
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.Notifications 2>/dev/null | grep -c true
}
wait_for 10 owned >/dev/null || fail "the notification server is not on the bus: $(cat "$work/server.err")"

dir="$work/data"
mkdir -p "$dir"
cp "$(dirname "$exe")"/*.wav "$dir/"
# A day before the machine's own clock, so that the wall timer's deadline is never ahead of the
# kernel's time, which libfaketime does not move.
printf '"%s",#2026-12-01#,#2026-12-08 15:00:00#\r\n"%s",#2026-12-01#,#2026-12-20#\r\n' \
    "$(printf '开会' | iconv -f utf-8 -t gb18030)" "$(printf '买菜' | iconv -f utf-8 -t gb18030)" >"$dir/agenda.txt"
LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-08 14:59:52" "$exe" --dir "$dir" >"$dir/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
wait_for 10 xq main-visible $kpid >/dev/null || fail "main window never appeared"
told() { grep -c "开会 · 今天 15:00" "$work/sent" 2>/dev/null; }
wait_for 30 told >/dev/null || fail "no reminder at 15:00: $(cat "$work/sent" 2>/dev/null)"
line=$(grep -n "开会 · 今天 15:00" "$work/sent" | head -1)
[[ "$line" == *$'\tcomplete,完成,remind-in-10,十分钟后再提醒,open-agenda,打开日程' ]] ||
    fail "the reminder's buttons: $line"
id=$(grep -v '^closed' "$work/sent" | grep -n "开会 · 今天 15:00" | head -1 | cut -d: -f1)
echo "reminded at 15:00 with its buttons"
dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.kestrin.Test.Press uint32:$id string:complete >/dev/null || fail "could not press 完成"
archived() { iconv -f gb18030 -t utf-8 "$dir/my.log" 2>/dev/null | grep -c '^开会: 设置日期2026-12-01; 预定完成日期2026-12-08 15:00; 删除日期2026-12-08'; }
wait_for 10 archived >/dev/null || fail "完成 did not archive it: $(iconv -f gb18030 -t utf-8 "$dir/my.log" 2>/dev/null); $(cat "$dir/kestrin.log")"
# The log is written before the agenda, so that a crash between them loses nothing: wait for both.
gone() { iconv -f gb18030 -t utf-8 "$dir/agenda.txt" | grep -q 开会 || echo 1; }
wait_for 10 gone >/dev/null || fail "the item stayed in the agenda"
echo "完成 from the notification archived it"
echo "2 passed, 0 failed"
