#!/bin/bash
# Kills the writer with SIGKILL at random moments; after each kill agenda.txt and my.log must be
# whole (old or new content, never torn) and every item that left the agenda must be in the log.
# Then the same for the alarms kept in kestrin.ini: one generation whole, the rest of the file kept.
# usage: kill_test.sh WRITER [KILLS]
set -u
writer=$1
kills=${2:-300}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for i in 1 2 3; do printf '"keep-%s",#2026-01-01#,#2026-02-01#\r\n' $i; done > "$dir/agenda.txt"
for i in $(seq 1 200); do printf 'seed-%s\r\n' $i; done > "$dir/my.log"
RANDOM=20021227
for k in $(seq 1 "$kills"); do
    "$writer" "$dir" 2>"$dir.err" &
    pid=$!
    # The writer needs some 50 ms to start; kill it somewhere in its first 250 ms of work.
    sleep "0.$(printf '%03d' $(( 50 + RANDOM % 250 )))"
    kill -KILL $pid 2>/dev/null
    wait $pid 2>/dev/null
    if ! out=$("$writer" --check "$dir" 2>"$dir.chk"); then
        echo "kill $k:"; grep -v XDG_RUNTIME "$dir.chk" "$dir.err"; rm -f "$dir.err" "$dir.chk"
        echo "0 passed, 1 failed"; exit 1
    fi
done
rm -f "$dir.err" "$dir.chk"
echo "after $kills kills: $out"
# A restore killed between its two writes leaves the item in both files, never in neither.
item=$("$writer" --die-restoring "$dir")
status=$?
both_before=$(sed -n 's/.*, \([0-9]*\) in both$/\1/p' <<<"$out")
if [ $status -ne 137 ] || [ -z "$item" ]; then
    echo "the restoring writer did not die between its writes (exit $status)"; echo "0 passed, 1 failed"; exit 1
fi
if ! out=$("$writer" --check "$dir"); then
    echo "after a restore killed half-way: check failed"; echo "0 passed, 1 failed"; exit 1
fi
both=$(sed -n 's/.*, \([0-9]*\) in both$/\1/p' <<<"$out")
if ! grep -q "^\"$item\"," "$dir/agenda.txt" || ! grep -q "^$item: " "$dir/my.log" || [ "$both" -le "$both_before" ]; then
    echo "$item is not in both files after a restore killed half-way"; echo "0 passed, 1 failed"; exit 1
fi
echo "a restore killed half-way: $item in both files"

printf '[ringtones]\nalarm1=/keep.wav\n' >"$dir/kestrin.ini"
for k in $(seq 1 $(( kills / 3 ))); do
    "$writer" --alarms "$dir" 2>"$dir.err" &
    pid=$!
    sleep "0.$(printf '%03d' $(( 50 + RANDOM % 250 )))"
    kill -KILL $pid 2>/dev/null
    wait $pid 2>/dev/null
    if ! out=$("$writer" --check-alarms "$dir" 2>"$dir.chk"); then
        echo "alarms, kill $k:"; grep -v XDG_RUNTIME "$dir.chk" "$dir.err"; rm -f "$dir.err" "$dir.chk"
        echo "0 passed, 1 failed"; exit 1
    fi
done
rm -f "$dir.err" "$dir.chk"
echo "kestrin.ini after $(( kills / 3 )) kills: $out"
echo "1 passed, 0 failed"
