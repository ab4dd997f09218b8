#!/bin/bash
# Subtasks from the keyboard, read as a screen reader reads them: the real program under Xvfb and
# openbox with the AT-SPI registry. The list's menu (Shift+F10) adds a subtask under the current
# item, Left folds it away and Right brings it back, and Delete on the parent asks what becomes
# of the subtask: Return, the first answer, completes both, each with its own log line.
# usage: run_subtask_e2e.sh KESTRIN_BINARY
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
ask() { /usr/bin/python3 "$here/atspi_walk.py" "$@" 2>/dev/null; }
agenda() { iconv -f gb18030 -t utf-8 "$work/agenda.txt"; }

printf '"%s",#2026-12-01#,#2999-12-20#\r\n"%s",#2026-12-01#,#2999-12-21#\r\n' \
    "$(printf '装修' | iconv -f utf-8 -t gbk)" "$(printf '买菜' | iconv -f utf-8 -t gbk)" >"$work/agenda.txt"
start_atspi_desktop

"$exe" --dir "$work" >"$work/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
win=$(wait_for 20 xq main-visible $kpid) || fail "main window never appeared: $(cat "$work/kestrin.log")"
icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
after=$(xq click-when-hidden "$win" "$icon" 8)
[ "$after" != -1 ] || fail "the greeting did not send the window to the tray"
wait_for 5 xq main-visible $kpid >/dev/null || fail "the icon did not bring the window back"
sleep 0.5
to_list() {
    for i in $(seq 20); do
        [ "$(ask focused)" = "list|日程列表" ] && return 0
        xdotool key Tab; sleep 0.15
    done
    fail "Tab never reached the agenda list ($(ask focused))"
}
to_list

# 添加子任务 under 装修, the list's current line.
xdotool key shift+F10; sleep 0.4
xdotool key s; sleep 0.4
[ "$(ask focused)" = "text|日程内容" ] || fail "添加子任务 did not open the entry ($(ask focused))"
xdotool type --delay 20 "tiles"; sleep 0.2
xdotool key ctrl+Return; sleep 0.6
iconv -f gb18030 -t utf-8 "$work/structure.txt" | grep -q '^"tiles","装修",无' ||
    fail "the subtask was not placed: $(iconv -f gb18030 -t utf-8 "$work/structure.txt" 2>&1)"
[ "$(ask find "list item" tiles)" = 1 ] || fail "the list does not show the subtask"
echo "a subtask added from the menu: tiles under 装修"

# Left folds the parent, Right unfolds it; the fold is remembered.
to_list
[ "$(ask find "list item" 装修)" = 1 ] || fail "no 装修 in the list"
xdotool key Home; sleep 0.3
xdotool key Left; sleep 0.5
[ "$(ask find "list item" tiles)" = 0 ] || fail "Left did not fold 装修"
grep -q 'folded' "$work/kestrin.ini" || fail "the fold was not remembered: $(cat "$work/kestrin.ini")"
xdotool key Right; sleep 0.5
[ "$(ask find "list item" tiles)" = 1 ] || fail "Right did not unfold 装修"
echo "folded with Left, unfolded with Right"

# Delete on the parent: the box asks; Return is 一并完成.
xdotool key Home; sleep 0.2
xdotool key Delete; sleep 0.8
xdotool key Return; sleep 0.8
[ "$(agenda)" = $'"买菜",#2026-12-01#,#2999-12-21#\r' ] || fail "the parent and its subtask did not go: $(agenda)"
[ "$(iconv -f gb18030 -t utf-8 "$work/my.log" | grep -c -e '^装修: ' -e '^tiles: ')" = 2 ] ||
    fail "each did not get its log line: $(iconv -f gb18030 -t utf-8 "$work/my.log")"
echo "the parent completed with its subtask through the box, a log line each"
kill -TERM $kpid
wait $kpid
echo "3 passed, 0 failed"
