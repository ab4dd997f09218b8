#!/bin/bash
# Whole-program figures beside a bare Qt baseline, under Xvfb with a notification area:
# start to main window mapped (warm), peak resident memory, and wake-ups and CPU while hidden in
# the tray. usage: whole_program.sh BUILD_DIR [RUNS] [IDLE_SECONDS]
set -u
build=$(cd "$1" && pwd)
runs=${2:-10}
idle=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
xq() { /usr/bin/python3 "$here/../tests/e2e/xquery.py" "$@"; }
kestrin=$build/kestrin
baseline=$build/bench/qt_baseline
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
now_ms() { date +%s%3N; }

source "$here/../tests/e2e/desktop.sh"
start_desktop || { echo "no X server with a notification area"; exit 1; }

mkdir -p "$work/small" "$work/large"
printf '"%s",#2002-12-20#,#2002-12-27#\r\n' "$(printf '完成报告' | iconv -f utf-8 -t gbk)" > "$work/small/agenda.txt"
/usr/bin/python3 - "$work/large/agenda.txt" <<'PY'
import sys, random
random.seed(7)
words = ["买菜", "做饭", "开会", "写报告", "交房租", "给妈妈打电话", "review", "准备材料"]
with open(sys.argv[1], "wb") as f:
    for i in range(32767):
        text = ",".join(random.choice(words) for _ in range(random.randint(1, 6))) + " #%d" % i
        f.write(('"%s",#2026-%02d-%02d#,#2027-%02d-%02d#\r\n' % (text, random.randint(1, 12), random.randint(1, 28),
                 random.randint(1, 12), random.randint(1, 28))).encode("gbk"))
PY

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
peak_kb() { grep VmHWM /proc/$1/status | awk '{print $2}'; }

# measure_start PROGRAM ARGS...: prints "mapped_ms peak_kb" once the program has gone to the tray.
measure_start() {
    local pid mapped
    read -r pid mapped <<< "$(xq launch "$@")"
    until [ "$(xq main-visible $pid)" = 0 ]; do sleep 0.05; done
    sleep 0.3
    echo "$mapped $(peak_kb $pid)"
    kill $pid
    while kill -0 $pid 2>/dev/null; do sleep 0.02; done
}

for prog in baseline kestrin large; do
    : > "$work/result-$prog"
    for r in $(seq 0 "$runs"); do
        case $prog in
            baseline) out=$(measure_start "$baseline") ;;
            kestrin) out=$(measure_start "$kestrin" --dir "$work/small") ;;
            large) out=$(measure_start "$kestrin" --dir "$work/large") ;;
        esac
        [ "$r" = 0 ] || echo "$out" >> "$work/result-$prog" # the first run only warms the caches
    done
done
b_start=$(cut -d' ' -f1 "$work/result-baseline" | median); b_rss=$(cut -d' ' -f2 "$work/result-baseline" | median)
k_start=$(cut -d' ' -f1 "$work/result-kestrin" | median); k_rss=$(cut -d' ' -f2 "$work/result-kestrin" | median)
l_rss=$(cut -d' ' -f2 "$work/result-large" | median)

source "$here/idle.sh"
"$kestrin" --dir "$work/small" >/dev/null 2>&1 &
kpid=$!
until [ "$(xq main-visible $kpid)" != 0 ]; do sleep 0.02; done
until [ "$(xq main-visible $kpid)" = 0 ]; do sleep 0.05; done
sleep 1
read -r k_wake k_cpu <<< "$(idle_figures $kpid "$idle")"

# Arm the three alarms for times that will not come during the measurement, then back to the tray.
icon=$(xq tray-icon $kpid)
xdotool mousemove --window "$icon" 8 8 click 1
until win=$(xq main-visible $kpid) && [ "$win" != 0 ]; do sleep 0.05; done
sleep 0.5
xdotool mousemove --window "$win" 72 136 click 1          # 设置闹钟
sleep 0.3
for row in 0 1 2; do
    y=$(( 136 + 72 * row ))
    xdotool mousemove --window "$win" 232 $y click 1      # its tick
    sleep 0.2
    xdotool mousemove --window "$win" 330 $(( y + 1 )) click 1 key ctrl+a
    xdotool type "$(date -d "+$(( row + 2 )) hours" +%H:%M)"
done
xdotool mousemove --window "$win" 540 170 click 1         # 确 认
sleep 0.5
xdotool mousemove --window "$icon" 8 8 click 1
until [ "$(xq main-visible $kpid)" = 0 ]; do sleep 0.05; done
sleep 1
read -r a_wake a_cpu <<< "$(idle_figures $kpid "$idle")"
kill $kpid; wait $kpid 2>/dev/null

"$baseline" >/dev/null 2>&1 &
bpid=$!
until [ "$(xq main-visible $bpid)" != 0 ]; do sleep 0.02; done
until [ "$(xq main-visible $bpid)" = 0 ]; do sleep 0.05; done
sleep 1
read -r b_wake b_cpu <<< "$(idle_figures $bpid "$idle")"
kill $bpid; wait $bpid 2>/dev/null

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "| figure (median of $runs warm runs) | Qt baseline | Kestrin | ratio | target |"
echo "|---|---|---|---|---|"
echo "| start to main window mapped | ${b_start} ms | ${k_start} ms | $(ratio $k_start $b_start) | ≤ 1.25 |"
echo "| peak resident memory | ${b_rss} KiB | ${k_rss} KiB | $(ratio $k_rss $b_rss) | ≤ 1.15 |"
echo "| peak resident memory, 32,767-record agenda | ${b_rss} KiB | ${l_rss} KiB | $(ratio $l_rss $b_rss) | ≤ 1.5 |"
echo "| wake-ups/s hidden in the tray, no alarm (${idle} s) | ${b_wake} | ${k_wake} | | ≤ 0.5 |"
echo "| wake-ups/s hidden in the tray, three alarms armed (${idle} s) | | ${a_wake} | | ≤ 0.1 |"
echo "| CPU hidden in the tray, no alarm / three alarms armed | ${b_cpu} % | ${k_cpu} % / ${a_cpu} % | | ≤ 0.05 % |"
