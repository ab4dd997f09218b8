#!/bin/bash
# Kestrin beside a bare Qt baseline and the programs a user would pick instead (alarm-clock-applet,
# osmo), under Xvfb with a notification area, interleaved in rounds so that drifts of the machine
# hit all alike. Per program: start to first window mapped, memory 1.5 s after mapping (RSS,
# private anonymous, PSS from smaps_rollup), and wake-ups and CPU while hidden in the tray.
# usage: peers.sh BUILD_DIR [ROUNDS] [IDLE_SECONDS]   (after a warm-up round; idle split in 3 rounds)
set -u
build=$(cd "$1" && pwd)
rounds=${2:-10}
idle=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
xq() { /usr/bin/python3 "$here/../tests/e2e/xquery.py" "$@"; }
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
for p in alarm-clock-applet osmo; do command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }; done

source "$here/../tests/e2e/desktop.sh"
start_desktop || { echo "no X server with a notification area"; exit 1; }
mkdir -p "$work/data"
printf '"%s",#2002-12-20#,#2002-12-27#\r\n' "$(printf '完成报告' | iconv -f utf-8 -t gbk)" >"$work/data/agenda.txt"
cp "$build"/*.wav "$work/data/" 2>/dev/null

names=(baseline kestrin alarm-clock-applet osmo)
command_of() {
    case $1 in
        baseline) echo "$build/bench/qt_baseline" ;;
        kestrin) echo "$build/kestrin --dir $work/data" ;;
        alarm-clock-applet) echo "alarm-clock-applet" ;;
        osmo) echo "osmo" ;;
    esac
}
# Each program keeps its settings in a home of its own, made by the warm-up round.
run() { HOME="$work/home-$1" exec $(command_of "$1"); }
stop() { kill "$1" 2>/dev/null; while kill -0 "$1" 2>/dev/null; do sleep 0.02; done; }
# To the tray: Kestrin and the baseline go by themselves after their greeting; the peers as their
# close box sends them.
to_tray() {
    local name=$1 pid=$2
    case $name in
        baseline | kestrin) until [ "$(xq top-level "$pid")" = 0 ]; do sleep 0.05; done ;;
        *) xq close "$(xq top-level "$pid")"; until [ "$(xq top-level "$pid")" = 0 ]; do sleep 0.05; done ;;
    esac
}
kb() { awk -v k="$2:" '$1 == k {print $2}' /proc/"$1"/smaps_rollup; }

for n in "${names[@]}"; do mkdir -p "$work/home-$n"; : >"$work/start-$n"; : >"$work/idle-$n"; done
for r in $(seq 0 "$rounds"); do
    # A different program goes first in each round.
    for k in 0 1 2 3; do
        n=${names[$(( (r + k) % 4 ))]}
        read -r pid mapped <<<"$(HOME="$work/home-$n" xq launch-any $(command_of "$n"))"
        sleep 1.5
        line="$mapped $(kb "$pid" Rss) $(kb "$pid" Anonymous) $(kb "$pid" Pss)"
        stop "$pid"
        [ "$r" = 0 ] || echo "$line" >>"$work/start-$n"
    done
done

source "$here/idle.sh"
idle_round=$(( idle / 3 ))
for r in 1 2 3; do
    for k in 0 1 2 3; do
        n=${names[$(( (r + k) % 4 ))]}
        run "$n" >/dev/null 2>&1 &
        pid=$!
        until [ "$(xq top-level $pid)" != 0 ]; do sleep 0.05; done
        to_tray "$n" "$pid"
        sleep 1
        echo "$(idle_figures "$pid" "$idle_round")" >>"$work/idle-$n"
        stop "$pid"
    done
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
col() { cut -d' ' -f"$2" "$work/$1" | median; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
b_start=$(col start-baseline 1); b_rss=$(col start-baseline 2); b_anon=$(col start-baseline 3); b_pss=$(col start-baseline 4)
echo "| median of $rounds interleaved rounds | start to window mapped | RSS | private anonymous | PSS | wake-ups/s hidden | CPU hidden |"
echo "|---|---|---|---|---|---|---|"
for n in "${names[@]}"; do
    st=$(col start-$n 1); rss=$(col start-$n 2); anon=$(col start-$n 3); pss=$(col start-$n 4)
    wake=$(col idle-$n 1); cpu=$(col idle-$n 2)
    echo "| $n | $st ms ($(ratio $st $b_start)×) | $(mib $rss) MiB ($(ratio $rss $b_rss)×) |" \
         "$(mib $anon) MiB ($(ratio $anon $b_anon)×) | $(mib $pss) MiB ($(ratio $pss $b_pss)×) | $wake | $cpu % |"
done
k_start=$(col start-kestrin 1); k_rss=$(col start-kestrin 2); k_anon=$(col start-kestrin 3); a_anon=$(col start-alarm-clock-applet 3)
echo
echo "targets: start ≤ 1.15× baseline: $(ratio $k_start $b_start)×; private anonymous ≤ 1.3× baseline: $(ratio $k_anon $b_anon)×" \
     "and below alarm-clock-applet's ($(mib $k_anon) vs $(mib $a_anon) MiB); RSS ≤ 1.2×: $(ratio $k_rss $b_rss)×"
