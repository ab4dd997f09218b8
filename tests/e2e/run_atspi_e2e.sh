#!/bin/bash
# The keyboard alone, read as a screen reader reads it: the real program under Xvfb and openbox on
# a private session bus with the AT-SPI registry; the window back from the tray has the keyboard,
# Tab walks the main window, each focused object is asked for its role and name, and an item is
# added without the mouse.
# usage: run_atspi_e2e.sh KESTRIN_BINARY
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
ask() { /usr/bin/python3 "$here/atspi_walk.py" "$@" 2>/dev/null; }

printf '"%s",#2026-12-01#,#2999-12-20#\r\n' "$(printf '交房租' | iconv -f utf-8 -t gbk)" >"$work/agenda.txt"
printf '买菜: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-02\r\n写日报: 设置日期2026-11-03; 预定完成日期2026-11-04; 删除日期2026-11-04\r\n' |
    iconv -f utf-8 -t gbk >"$work/my.log"
start_atspi_desktop

"$exe" --dir "$work" >"$work/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
win=$(wait_for 20 xq main-visible $kpid) || fail "main window never appeared: $(cat "$work/kestrin.log")"
# The reminder sends the window to the tray; a click on the icon at once after (within a few
# milliseconds of the unmap, while the window manager still deals with it) brings it back, with the
# keyboard: a control has the focus, and Tab moves it.
icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
after=$(xq click-when-hidden "$win" "$icon" 8)
[ "$after" != -1 ] || fail "the reminder did not send the window to the tray"
wait_for 5 xq main-visible $kpid >/dev/null || fail "the icon did not bring the window back"
sleep 0.5
shown=$(ask focused)
[ -n "$shown" ] && [ "$shown" != none ] || fail "back from the tray, no control has the focus"
xdotool key Tab; sleep 0.3
[ -n "$(ask focused)" ] && [ "$(ask focused)" != none ] && [ "$(ask focused)" != "$shown" ] ||
    fail "back from the tray, Tab does not move the focus ($shown, then $(ask focused))"
echo "back from the tray (clicked $after ms after the unmap): $shown, Tab: $(ask focused)"
# Sent to the tray once more; a second start at once brings it back, with the focus.
sleep 0.7
xdotool mousemove --window "$icon" 11 15 click 1
[ "$(xq wait-hidden "$win" 5)" = 0 ] || fail "the icon did not send the window to the tray"
timeout 10 "$exe" --dir "$work" >/dev/null 2>&1
wait_for 5 xq main-visible $kpid >/dev/null || fail "the window did not come back"
sleep 0.5

# Tab to the first navigation caption, then once round.
for i in $(seq 20); do
    [ "$(ask focused)" = "push button|安排日程" ] && break
    xdotool key Tab; sleep 0.15
done
[ "$(ask focused)" = "push button|安排日程" ] || fail "Tab never reached 安排日程 ($(ask focused))"
walked=()
for i in $(seq 15); do
    walked+=("$(ask focused)")
    xdotool key Tab; sleep 0.15
done
expected=("push button|安排日程" "push button|设置闹钟" "push button|查看日志" "push button|选项"
          "push button|帮助信息" "list|日程列表" "combo box|不排序刷新" "text|设置日期" "text|完成日期"
          "text|剩余天数" "push button|添加日程" "push button|修改日程" "push button|删除日程"
          "push button|Quorrel工作室 2002 出品" "push button|安排日程")
for i in "${!expected[@]}"; do
    echo "Tab $i: ${walked[$i]}"
    [ "${walked[$i]}" = "${expected[$i]}" ] || fail "Tab $i reached ${walked[$i]}, not ${expected[$i]}"
done

# 添加日程 with Space, the text typed, Ctrl+Return: the item is in the file and in the list.
for i in $(seq 20); do
    [ "$(ask focused)" = "push button|添加日程" ] && break
    xdotool key Tab; sleep 0.15
done
xdotool key space; sleep 0.3
[ "$(ask focused)" = "text|日程内容" ] || fail "添加日程 did not put the focus in the entry box ($(ask focused))"
xdotool type --delay 20 "keyboard only"; sleep 0.2
xdotool key ctrl+Return; sleep 0.5
grep -q '^"keyboard only",#' "$work/agenda.txt" || fail "the item typed was not added"
[ "$(ask find "list item" "keyboard only")" = 1 ] || fail "the list does not show the item added"
echo "added with the keyboard alone: $(grep -a keyboard "$work/agenda.txt" | tr -d '\r')"

# The log: Ctrl+F from its list, the initials typed, the count heard; the one line found restored
# with the menu key's 恢复到日程.
[ "$(ask press 查看日志)" = pressed ] || fail "no 查看日志"
sleep 0.3
for i in $(seq 20); do
    [ "$(ask focused)" = "list|日志列表" ] && break
    xdotool key Tab; sleep 0.15
done
xdotool key ctrl+f; sleep 0.3
[ "$(ask focused)" = "text|查找" ] || fail "Ctrl+F did not open the find line ($(ask focused))"
xdotool type --delay 50 xrb; sleep 0.5
[ "$(ask described)" = "找到 1 条（共 2 条）" ] || fail "the count is not heard: $(ask described)"
[ "$(ask find "list item" "买菜: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-02")" = 0 ] ||
    fail "a line that does not match is shown"
xdotool key Return; sleep 0.2
xdotool key shift+F10; sleep 0.4
xdotool key r; sleep 0.6
iconv -f gbk -t utf-8 "$work/agenda.txt" | grep -q '^"写日报",#2026-11-03#,#2026-11-04#' ||
    fail "the entry found was not restored: $(iconv -f gbk -t utf-8 "$work/agenda.txt")"
iconv -f gbk -t utf-8 "$work/my.log" | grep -q 写日报 && fail "the entry restored stayed in the log"
echo "found by its initials and restored: 写日报"
kill -TERM $kpid
wait $kpid
echo "1 passed, 0 failed"
