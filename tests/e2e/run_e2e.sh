#!/bin/bash
# End to end: the real program under Xvfb with a notification area (trayer).
# usage: run_e2e.sh KESTRIN_BINARY ARTIFACT_DIR
set -u
exe=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
mkdir -p "$artifacts"

# Usage and errors need no display: an unknown option is a one-line message and exit code 2.
"$exe" --no-such-option 2>"$work/usage"
[ $? = 2 ] && [ "$(wc -l < "$work/usage")" = 1 ] || fail "unknown option not refused with code 2"
"$exe" --help >/dev/null || fail "--help"

# A small GBK agenda with one overdue item.
printf '"%s",#2002-12-20#,#2002-12-27#\r\n"%s",#2002-12-20#,#2999-01-01#\r\n' \
    "$(printf '完成报告' | iconv -f utf-8 -t gbk)" "$(printf '买菜,做饭' | iconv -f utf-8 -t gbk)" > "$work/agenda.txt"
cp "$(dirname "$exe")"/*.wav "$work/" 2>/dev/null

start_desktop || fail "no X server with a notification area"

start=$(now_ms)
"$exe" --dir "$work" >"$artifacts/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
wait_for 10 xq main-visible $kpid >/dev/null || fail "main window never appeared"
shown=$(( $(now_ms) - start ))
echo "main window shown after ${shown} ms"
import -window root "$artifacts/main-window.png" || fail "screenshot"

# The reminder sends the window to the tray a little over three seconds later.
hidden_at=0
limit=$(( $(now_ms) + 8000 ))
while [ "$(now_ms)" -lt "$limit" ]; do
    if [ "$(xq main-visible $kpid)" = 0 ]; then hidden_at=$(( $(now_ms) - start )); break; fi
    sleep 0.05
done
[ "$hidden_at" -gt 0 ] || fail "window did not go to the tray"
[ $(( hidden_at - shown )) -ge 2900 ] || fail "hidden too early (${hidden_at} ms)"
echo "hidden in the tray after ${hidden_at} ms"

icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
xdotool mousemove --window "$icon" 8 8 click 1
wait_for 5 xq main-visible $kpid >/dev/null || fail "left click did not bring the window back"
sleep 0.7
import -window root "$artifacts/after-tray-click.png"
xdotool mousemove --window "$icon" 8 8 click 1
limit=$(( $(now_ms) + 5000 ))
while [ "$(xq main-visible $kpid)" != 0 ] && [ "$(now_ms)" -lt "$limit" ]; do sleep 0.05; done
[ "$(xq main-visible $kpid)" = 0 ] || fail "second left click did not hide the window"

# A second start brings the first copy forward and leaves with code 0.
timeout 10 "$exe" --dir "$work" >/dev/null 2>&1
[ $? = 0 ] || fail "second start did not exit with 0"
wait_for 5 xq main-visible $kpid >/dev/null || fail "second start did not bring the window forward"
kill -0 $kpid || fail "first copy died"

# The quick-add window of a keyboard shortcut, with the copy running: typed, Enter, and the running
# copy has written the item once (it holds the folder, so the add can only have gone through it).
"$exe" --quick-add --dir "$work" >"$work/quick.log" 2>&1 &
qpid=$!
pids+=($qpid)
quick=$(wait_for 10 xq titled $qpid "快速添加日程") || fail "the quick-add window never appeared"
sleep 0.3
xdotool windowactivate --sync "$quick" 2>/dev/null
xdotool type --delay 20 "quick add e2e"
xdotool key Return
for i in $(seq 100); do kill -0 $qpid 2>/dev/null || break; sleep 0.05; done
kill -0 $qpid 2>/dev/null && fail "the quick-add window did not close after Enter: $(cat "$work/quick.log")"
[ "$(grep -c '^"quick add e2e",' "$work/agenda.txt")" = 1 ] || fail "the quick add is not in agenda.txt once"
grep -q "^\"quick add e2e\",#$(date +%F)#,#$(date -d tomorrow +%F)#" "$work/agenda.txt" ||
    fail "the quick add's dates: $(grep quick "$work/agenda.txt")"
echo "quick add: typed, added through the running copy, closed"

# 月历 from the tray menu: right click, the access key L; the month in front, Esc closes it.
sleep 0.7
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.8
xdotool key l
month=$(wait_for 10 xq titled $kpid "月历") || fail "月历 from the tray menu did not open the month window"
sleep 0.5
import -window root "$artifacts/month-window.png"
xdotool windowactivate --sync "$month" 2>/dev/null
xdotool key Escape
limit=$(( $(now_ms) + 5000 ))
while [ "$(xq titled $kpid "月历")" != 0 ] && [ "$(now_ms)" -lt "$limit" ]; do sleep 0.05; done
[ "$(xq titled $kpid "月历")" = 0 ] || fail "Esc did not close the month window"
echo "月历 from the tray menu: shown, Esc closed it"

# Quit from the tray menu: right click, then the access key C.
sleep 0.7
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.8
xdotool key c
for i in $(seq 1 100); do kill -0 $kpid 2>/dev/null || break; sleep 0.05; done
kill -0 $kpid 2>/dev/null && fail "关闭(&C) did not end the program"
wait $kpid; code=$?
[ $code = 0 ] || fail "exit code $code after quitting"
# The end of a run leaves the day's copy in backup/.
cmp -s "$work/agenda.txt" "$work/backup/agenda-$(date -r "$work/agenda.txt" +%F).txt" || fail "no backup at the end of the run"

# Quitting must work every time: start and quit a few more times in a row.
for round in 1 2 3; do
    "$exe" --dir "$work" >>"$artifacts/kestrin.log" 2>&1 &
    kpid=$!
    wait_for 10 xq main-visible $kpid >/dev/null || fail "round $round: no window"
    icon=$(wait_for 5 xq tray-icon $kpid) || fail "round $round: no tray icon"
    sleep 0.7
    xdotool mousemove --window "$icon" 8 8 click 3
    sleep 0.8
    xdotool key c
    for i in $(seq 1 100); do kill -0 $kpid 2>/dev/null || break; sleep 0.05; done
    kill -0 $kpid 2>/dev/null && { kill $kpid; fail "round $round: quit failed"; }
    wait $kpid; code=$?
    [ $code = 0 ] || fail "round $round: exit code $code"
done

# SIGTERM ends it cleanly too.
"$exe" --dir "$work" >>"$artifacts/kestrin.log" 2>&1 &
kpid=$!
wait_for 10 xq main-visible $kpid >/dev/null || fail "no window for SIGTERM"
kill -TERM $kpid
wait $kpid; code=$?
[ $code = 0 ] || fail "exit code $code after SIGTERM"

# Ending the program while a Yes/No box is open is a No: nothing is deleted.
printf '%s\r\n' "$(printf '旧的一条' | iconv -f utf-8 -t gbk)" >"$work/my.log"
cp "$work/my.log" "$work/my.log.before"

# The log list's menu, opened with a right click on its first line.
"$exe" --dir "$work" >>"$artifacts/kestrin.log" 2>&1 &
kpid=$!
win=$(wait_for 10 xq main-visible $kpid) || fail "no window for the log menu"
xdotool mousemove --window "$win" 72 176 click 1 # 查看日志
sleep 0.3
xdotool mousemove --window "$win" 150 72 click 3
sleep 0.6
import -window root "$artifacts/log-menu.png"
xdotool key Escape
kill -TERM $kpid
wait $kpid
for target in agenda log; do
    "$exe" --dir "$work" >>"$artifacts/kestrin.log" 2>&1 &
    kpid=$!
    win=$(wait_for 10 xq main-visible $kpid) || fail "no window for the $target box"
    if [ $target = agenda ]; then
        xdotool mousemove --window "$win" 72 96 click 1 # 安排日程
        sleep 0.3
        xdotool mousemove --window "$win" 536 232 click 1 # 删除日程
    else
        xdotool mousemove --window "$win" 72 176 click 1 # 查看日志
        sleep 0.3
        xdotool mousemove --window "$win" 544 316 click 1 # 删除日志
    fi
    wait_for 5 xq titled $kpid "继续否？" >/dev/null || fail "no confirmation box for the $target"
    kill -TERM $kpid
    wait $kpid; code=$?
    [ $code = 0 ] || fail "exit code $code after SIGTERM with the $target box open"
done
cmp -s "$work/my.log" "$work/my.log.before" || fail "my.log changed under SIGTERM"

# The files are untouched by all of this, but for the quick add.
cmp -s "$work/agenda.txt" <(printf '"%s",#2002-12-20#,#2002-12-27#\r\n"%s",#2002-12-20#,#2999-01-01#\r\n"quick add e2e",#%s#,#%s#\r\n' \
    "$(printf '完成报告' | iconv -f utf-8 -t gbk)" "$(printf '买菜,做饭' | iconv -f utf-8 -t gbk)" \
    "$(date +%F)" "$(date -d tomorrow +%F)") || fail "agenda.txt changed"
echo "1 passed, 0 failed"
