#!/bin/bash
# End to end, by ear: the real program plays into a recorded PulseAudio null sink. An alarm with
# ring count 3 must be heard as three whole bursts of clock1.wav's tone, the first within 150 ms of
# the notice window, although its chosen ringtone is a WAV that the player cannot play; and the
# first hover sound must be heard whole like any later one. Then a daily alarm with ring count 2,
# set through the panel and its heading's menu, outlives a quit from the tray: the next run rings
# it at its time, twice.
# usage: run_sound_e2e.sh KESTRIN_BINARY
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

command -v pulseaudio >/dev/null && command -v parec >/dev/null && command -v sox >/dev/null ||
    fail "pulseaudio, parec and sox are needed"

# A sound server of our own, with a null sink kept running by a silent stream so that the
# recording keeps wall time.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run HOME=$work
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load="module-null-sink sink_name=rec" \
    --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
pids+=($!)
for i in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || fail "no sound server"
pacat --playback --raw --device=rec </dev/zero &
pids+=($!)

# Each sound is one pure tone, shorter than the half second between two rings.
sox -n -r 22050 -c 1 -b 16 "$work/clock1.wav" synth 0.25 sine 880 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$work/Moveme.wav" synth 0.15 sine 660 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$work/ClickMe.wav" synth 0.1 sine 440 vol 0.5
printf '"a",#2026-01-01#,#2999-01-01#\r\n' >"$work/agenda.txt"
# The first alarm's ringtone: IMA ADPCM, which no player here plays. A silent ring would pass
# unnoticed but for the ear.
sox -n -r 22050 -c 1 -e ima-adpcm "$work/adpcm.wav" synth 0.25 sine 1320 vol 0.5
printf '[ringtones]\nalarm1=%s\n' "$work/adpcm.wav" >"$work/kestrin.ini"

start_desktop || fail "no X server with a notification area"

"$exe" --dir "$work" >"$work/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
win=""
for i in $(seq 200); do win=$(xq main-visible $kpid); [ "$win" != 0 ] && break; sleep 0.05; done
[ "$win" != 0 ] || fail "main window never appeared"
# A click on the reminder (silent) keeps the window up instead of sending it to the tray.
xdotool mousemove --window "$win" 300 200 click 1
sleep 1.5 # the sounds are readied right after the window is up

# Coordinates inside the main window, in pixels (twips / 15).
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

# The first pass over a navigation caption plays the hover sound.
/usr/bin/python3 "$here/bursts.py" rec.monitor 2.5 >"$work/hover" &
rec=$!
sleep 0.5
xdotool mousemove --window "$win" 300 380 # the bare background arms the hover
sleep 0.3
xdotool mousemove --window "$win" 72 89 # 安排日程
wait $rec
echo "first hover sound (start ms, length ms, tone Hz): $(cat "$work/hover")"
[ "$(wc -l <"$work/hover")" = 1 ] || fail "the first hover sound was not heard once"
[ "$(cut -d" " -f2 "$work/hover")" -ge 130 ] || fail "the first hover sound was cut short"

# Should the window have gone to the tray after all, a left click on the icon brings it back.
if [ "$(xq main-visible $kpid)" = 0 ]; then
    icon=$(xq tray-icon $kpid)
    [ "$icon" != 0 ] || fail "no tray icon"
    xdotool mousemove --window "$icon" 8 8 click 1
    for i in $(seq 100); do [ "$(xq main-visible $kpid)" != 0 ] && break; sleep 0.05; done
fi
win=$(xq main-visible $kpid)
[ "$win" != 0 ] || fail "the window did not come back"

# An alarm a few seconds ahead, ring count 3 (the default).
click 72 136 # 设置闹钟
sleep 0.3
click 232 136 # the first row's tick prefills the time
sleep 0.2
at=$(date -d '+6 seconds' +%H:%M:%S)
click 332 137
xdotool key ctrl+a type "$at"
click 536 160 # 确 认
sleep 2 # past its click sound and whatever follows it
/usr/bin/python3 "$here/bursts.py" rec.monitor 10 >"$work/rings" &
rec=$!
shown=0
limit=$(( $(now_ms) + 10000 ))
while [ "$(now_ms)" -lt "$limit" ]; do
    if [ "$(xq notice-visible $kpid)" != 0 ]; then shown=$(now_ms); break; fi
    sleep 0.02
done
[ "$shown" -gt 0 ] || fail "no notice window"
wait $rec
echo "notice shown at $shown; bursts (start ms, length ms, tone Hz):"
cat "$work/rings"
[ "$(wc -l <"$work/rings")" = 3 ] || fail "$(wc -l <"$work/rings") rings heard, 3 expected"
# Each ring whole: a ring that starts cold loses its beginning to the next one.
while read -r start length tone; do
    [ "$length" -ge 230 ] || fail "a ring was cut short: $length ms of 250"
    [ "$tone" -ge 820 ] && [ "$tone" -le 940 ] || fail "a ring of $tone Hz: clock1.wav's tone is 880 Hz"
done <"$work/rings"
first=$(head -1 "$work/rings" | cut -d' ' -f1)
late=$(( first - shown ))
echo "first ring $late ms after the notice window"
[ "$late" -le 150 ] || fail "the first ring is $late ms late"

notice=$(xq notice-visible $kpid)
xdotool mousemove --window "$notice" 144 112 click 1 # 我知道啦!
sleep 0.5
click 72 136 # 设置闹钟: confirming went back to the agenda
sleep 0.3
click 232 208 # the second row's tick
sleep 0.2
at=$(date -d '+20 seconds' +%H:%M:%S)
due_ms=$(date -d "$at" +%s%3N)
click 332 209
xdotool key ctrl+a type "$at"
xdotool key Tab Up # ring count 3 → 2
xdotool mousemove --window "$win" 200 192 click 3 # 闹钟 2：
sleep 0.5
xdotool key e # 每天(&E)
sleep 0.3
click 536 160 # 确 认
sleep 0.5
grep -q '^alarm2\\repeat=daily' "$work/kestrin.ini" || fail "the daily alarm was not kept: $(cat "$work/kestrin.ini")"

icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.8
xdotool key c # 关闭(&C)
for i in $(seq 100); do kill -0 $kpid 2>/dev/null || break; sleep 0.05; done
kill -0 $kpid 2>/dev/null && fail "关闭(&C) did not end the program"

"$exe" --dir "$work" >>"$work/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
wait_for 10 xq main-visible $kpid >/dev/null || fail "no window in the second run"
left=$(( (due_ms - $(now_ms)) / 1000 ))
[ "$left" -ge 3 ] || fail "the second run started too late to wait for the alarm"
/usr/bin/python3 "$here/bursts.py" rec.monitor $(( left + 4 )) >"$work/daily" &
rec=$!
wait $rec
echo "the daily alarm at $due_ms in the next run; bursts (start ms, length ms, tone Hz):"
cat "$work/daily"
[ "$(wc -l <"$work/daily")" = 2 ] || fail "$(wc -l <"$work/daily") rings heard, 2 expected"
[ "$(xq notice-visible $kpid)" != 0 ] || fail "no notice window in the next run"
late=$(( $(head -1 "$work/daily" | cut -d' ' -f1) - due_ms ))
echo "first ring heard $late ms after its time"
[ "$late" -ge 0 ] && [ "$late" -le 500 ] || fail "the first ring is $late ms off its time"
echo "1 passed, 0 failed"
