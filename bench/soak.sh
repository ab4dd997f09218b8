#!/bin/bash
# A week of use in one run: the real program hidden in the tray under Xvfb, its folder linked to a
# Radicale task list, three alarms armed, receives in one bounded loop ADDS script additions
# handed over through its socket, one hand edit of agenda.txt for every four, one activation by a
# second start for every two and one sync for every ten. Reports its RSS, private memory, open
# descriptors and threads after a warm-up (a tenth of the loop) and at the end, and the wall time;
# then checks that every item added is in agenda.txt exactly once and on the server.
# usage: soak.sh BUILD_DIR [ADDS]   (2,000 adds: 500 edits, 1,000 activations, 200 syncs)
set -euo pipefail
here=$(cd "$(dirname "$0")/../tests/sync" && pwd)
source "$here/server.sh"
build=$(cd "$1" && pwd)
adds=${2:-2000}
kestrin=$build/kestrin
source "$here/../e2e/desktop.sh"
bus=$DBUS_SESSION_BUS_ADDRESS
start_desktop || fail "no X server with a notification area"
export DBUS_SESSION_BUS_ADDRESS=$bus
xq() { /usr/bin/python3 "$here/../e2e/xquery.py" "$@"; }

folder=$work/folder
mkdir -p "$folder"
printf '"%s",#2026-12-01#,#2026-12-02#\r\n' "$(printf '早就该交的' | iconv -f utf-8 -t gb18030)" >"$folder/agenda.txt"
# Three alarms every day, an hour before now: armed all along, never ringing during the run.
alarm=$(date -d '-1 hour' +%H:%M)
{
    echo "[alarms]"
    for n in 1 2 3; do
        echo "alarm$n\\time=$alarm"
        echo "alarm$n\\rings=3"
        echo "alarm$n\\repeat=daily"
        echo "alarm$n\\prompt=soak $n"
    done
} >"$folder/kestrin.ini"
echo secret | "$kestrin" --caldav "$url" --user alice --dir "$folder" >/dev/null || fail "no link to the task list"

"$kestrin" --dir "$folder" >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")
for _ in $(seq 100); do [ "$(xq main-visible "$program")" != 0 ] && break; sleep 0.1; done
# The greeting ends in the tray.
for _ in $(seq 100); do [ "$(xq main-visible "$program")" = 0 ] && break; sleep 0.1; done

figures() {
    # A sync the program started itself (five seconds after a change) holds the helper's pipes
    # while it runs: measured between syncs, as a user's program stands most of the time.
    local limit=$(($(date +%s) + 60))
    while pgrep -P "$program" >/dev/null && [ "$(date +%s)" -lt "$limit" ]; do sleep 0.2; done
    local status=/proc/$program/status
    local rss threads private fds
    rss=$(awk '/^VmRSS/ {print $2}' "$status")
    threads=$(awk '/^Threads/ {print $2}' "$status")
    private=$(awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s}' "/proc/$program/smaps_rollup")
    fds=$(ls "/proc/$program/fd" | wc -l)
    echo "$rss $private $fds $threads"
}
warmup=$((adds / 10))
t0=$(date +%s%3N)
for i in $(seq "$adds"); do
    "$kestrin" --add "soak-$i" --finish 2026-12-31 --dir "$folder" || fail "add $i refused"
    if [ $((i % 4)) = 0 ]; then
        # A hand edit: a line appended by an editor, as GB18030 with CR LF.
        printf '"hand-%s",#2026-12-01#,#2026-12-30#\r\n' "$i" >>"$folder/agenda.txt"
        sleep 0.05
    fi
    if [ $((i % 2)) = 0 ]; then "$kestrin" --dir "$folder" 2>/dev/null || fail "activation $i"; fi
    if [ $((i % 10)) = 0 ]; then "$kestrin" --sync --dir "$folder" >/dev/null || fail "sync $i"; fi
    [ "$i" = "$warmup" ] && warm=$(figures)
done
"$kestrin" --sync --dir "$folder" >/dev/null || fail "the last sync"
t1=$(date +%s%3N)
end=$(figures)
kill -0 "$program" || fail "the program ended during the run: $(cat "$work/program.log")"

read -r rss0 private0 fds0 threads0 <<<"$warm"
read -r rss1 private1 fds1 threads1 <<<"$end"
echo "adds $adds, hand edits $((adds / 4)), activations $((adds / 2)), syncs $((adds / 10 + 1)): $(((t1 - t0) / 1000)) s"
echo "after the warm-up: RSS ${rss0} KiB, private ${private0} KiB, ${fds0} descriptors, ${threads0} threads"
echo "at the end:        RSS ${rss1} KiB, private ${private1} KiB, ${fds1} descriptors, ${threads1} threads"
echo "growth: RSS $((rss1 - rss0)) KiB, private $((private1 - private0)) KiB, descriptors $((fds1 - fds0)), threads $((threads1 - threads0))"

listed=$(iconv -f GB18030 -t UTF-8 "$folder/agenda.txt")
onServer=$(dav list | cut -f1)
for i in $(seq "$adds"); do
    [ "$(grep -c "^\"soak-$i\"," <<<"$listed")" = 1 ] || fail "soak-$i is in agenda.txt $(grep -c "^\"soak-$i\"," <<<"$listed") times"
    grep -qx "soak-$i" <<<"$onServer" || fail "soak-$i is not on the server"
done
echo "every item added is in agenda.txt once and on the server"
[ $((private1 - private0)) -lt 1024 ] && [ "$fds1" -le "$fds0" ] && [ "$threads1" -le "$threads0" ] ||
    fail "the program grew: private memory by $((private1 - private0)) KiB, descriptors $fds0 → $fds1, threads $threads0 → $threads1: $(ls -l "/proc/$program/fd")"
echo "PASS"
