#!/bin/bash
# Instructions from exec to the main window on screen, counted by callgrind: a figure that holds on
# a shared machine, where milliseconds move by a fifth from run to run. The program (and, beside it,
# the bare Qt window of bench/baseline) runs under valgrind in Xvfb with a notification area over a
# folder of five items; a small X client ends it at the first map of a top-level window
# (UNTIL=map, the default) or at the first pixels drawn in it (UNTIL=paint); a warm-up run first,
# then RUNS counted runs of each. The end is SIGUSR2, which neither program handles, so both stop
# where they are: SIGTERM would let this program paint and exit in order first, the bare window not.
# usage: [KEEP=PREFIX] [UNTIL=map|paint] instructions.sh BUILD_DIR [RUNS]   (BUILD_DIR from the bench preset)
set -u
build=$(cd "$1" && pwd)
runs=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
source "$here/../tests/e2e/desktop.sh"
start_desktop || { echo "no X server with a notification area"; exit 1; }
mkdir -p "$work/data"
for item in 交房租 开会 写周报 买菜 体检; do
    printf '"%s",#2026-12-01#,#2026-12-20#\r\n' "$(printf "$item" | iconv -f utf-8 -t gbk)"
done >"$work/data/agenda.txt"
cp "$build"/*.wav "$work/data/" 2>/dev/null

# Waits for the first top-level window mapped after it starts listening, then ends the process.
cat >"$work/end_at_map.py" <<'PY'
import os, signal, sys
from Xlib import X, display
from Xlib.ext import damage
pid, until = int(sys.argv[1]), sys.argv[2]
d = display.Display()
root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()
print("ready", flush=True)
frames = 0
while True:
    e = d.next_event()
    if e.type == X.MapNotify and not e.override and e.window.get_attributes().map_state is not None:
        if until == "map":
            break
        d.damage_query_version()
        marks = e.window.damage_create(damage.DamageReportNonEmpty)
        d.sync()
    elif type(e).__name__ == "DamageNotify":
        # The first is the server filling the window's background at the map; the program's
        # own first frame comes after it.
        frames += 1
        if frames == 2:
            break
        d.damage_subtract(marks, 0, 0)
        d.sync()
os.kill(pid, signal.SIGUSR2)
PY

count() { # NAME COMMAND...: instructions of one run
    local name=$1; shift
    local out="$work/$name.callgrind"
    # KEEP=PREFIX keeps each program's last profile as PREFIX.NAME, for callgrind_annotate.
    [ -n "${KEEP:-}" ] && out="$KEEP.$name"
    rm -f "$out"
    HOME="$work/home" valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>"$work/vg.err" &
    local vg=$!
    pids+=($vg)
    /usr/bin/python3 "$work/end_at_map.py" $vg "${UNTIL:-map}" >/dev/null
    wait $vg 2>/dev/null
    grep -m1 '^summary:\|^totals:' "$out" | awk '{print $2}'
}
baseline() { count baseline "$build/bench/qt_baseline"; }
kestrin() { count kestrin "$build/kestrin" --dir "$work/data"; }
baseline >/dev/null; kestrin >/dev/null
printf '%-10s %s\n' run "baseline kestrin ratio"
for r in $(seq "$runs"); do
    b=$(baseline); k=$(kestrin)
    printf '%-10s %s %s %s\n' "$r" "$b" "$k" "$(echo "scale=3; $k / $b" | bc)"
done
