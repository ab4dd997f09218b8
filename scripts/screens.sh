#!/bin/bash
# Screenshots of the main window with each panel on view, the program started over the same data
# at the same fake moment: for holding a change that should show nothing against the build before
# it. Compare two runs with: for f in A/*.png; do compare -metric AE "$f" "B/${f##*/}" null:; echo; done
# usage: screens.sh KESTRIN_BINARY OUT_DIR
set -u
exe=$(realpath "$1")
out=$2
here=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$here/common.sh"
mkdir -p "$out"

printf '"%s",#2026-12-01#,#2026-12-05#\r\n"%s",#2026-12-06#,#2026-12-09#\r\n"%s",#2026-12-06#,#2027-01-09#\r\n' \
    "$(printf '交房租' | iconv -f utf-8 -t gbk)" "$(printf '开会' | iconv -f utf-8 -t gbk)" \
    "$(printf '写年终总结' | iconv -f utf-8 -t gbk)" > "$work/agenda.txt"
printf '%s\r\n' "$(printf '还书: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-03' | iconv -f utf-8 -t gbk)" \
    > "$work/my.log"
cp "$(dirname "$exe")"/*.wav "$work/" 2>/dev/null

start_desktop || fail "no X server with a notification area"
LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 FAKETIME="@2026-12-07 09:00:00" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_DONT_RESET=1 "$exe" --dir "$work" >"$out/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
win=$(wait_for 10 xq main-visible $kpid) || fail "main window never appeared"
sleep 1
import -window "$win" "$out/0-greeting.png"
# The greeting sends the window to the tray; the icon brings it back.
limit=$(( $(now_ms) + 8000 ))
while [ "$(xq main-visible $kpid)" != 0 ] && [ "$(now_ms)" -lt "$limit" ]; do sleep 0.05; done
icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
xdotool mousemove --window "$icon" 8 8 click 1
win=$(wait_for 5 xq main-visible $kpid) || fail "the icon did not bring the window back"
shot() {
    xdotool mousemove --window "$win" "$2" "$3" click 1
    # Away from the captions, so that no highlight or tool tip differs by timing.
    xdotool mousemove --window "$win" 590 390
    sleep 1.5
    import -window "$win" "$out/$1.png"
}
shot 1-agenda 72 96
shot 2-clock 72 136
shot 3-log 72 176
shot 4-options 320 24
shot 5-help 505 28
