#!/bin/bash
# A deletion traced at the system calls: the log's new line reaches the disk (and so does the log's
# new directory entry) before the agenda is rewritten, and the rewritten agenda's data before its
# rename, and the rename itself after. A sync made a no-op is invisible to the kill test, which
# kills the process but never the machine.
# usage: sync_trace.sh WRITER
set -u
writer=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "$1"; echo "--- trace:"; grep -F "$dir" "$dir.trace"; rm -f "$dir.trace"; echo "0 passed, 1 failed"; exit 1; }
command -v strace >/dev/null || { echo "strace is needed"; echo "0 passed, 1 failed"; exit 1; }
printf '"a",#2026-01-01#,#2026-02-01#\r\n"b",#2026-01-01#,#2026-02-01#\r\n' >"$dir/agenda.txt"
strace -f -qq -y -e trace=fsync,fdatasync,rename,renameat,renameat2 -o "$dir.trace" "$writer" --delete-first "$dir" ||
    fail "the deletion failed"
[ "$(cat "$dir/agenda.txt")" = $'"b",#2026-01-01#,#2026-02-01#\r' ] || fail "the agenda is not what the deletion leaves"
grep -q '^a: ' "$dir/my.log" || fail "no log entry"

# Line numbers in the trace of each step.
line() { grep -nE "$1" "$dir.trace" | cut -d: -f1 | head -1; }
lines() { grep -nE "$1" "$dir.trace" | cut -d: -f1; }
log_synced=$(line "fsync\([0-9]+<$dir/my.log>\) += 0")
renamed=$(line "rename.*\"$dir/agenda.txt\"\) += 0")
[ -n "$log_synced" ] || fail "the log's new line was never synced"
[ -n "$renamed" ] || fail "the agenda was never renamed into place"
[ "$log_synced" -lt "$renamed" ] || fail "the agenda was rewritten before the log's line was on disk"
dir_syncs=$(lines "fsync\([0-9]+<$dir>\) += 0")
before=0 after=0
for l in $dir_syncs; do
    [ "$l" -gt "$log_synced" ] && [ "$l" -lt "$renamed" ] && before=1
    [ "$l" -gt "$renamed" ] && after=1
done
[ $before = 1 ] || fail "the new log's directory entry was not synced before the agenda's rewrite"
[ $after = 1 ] || fail "the directory was not synced after the agenda's rename"
data_synced=$(lines "(fsync|fdatasync)\([0-9]+<$dir/(#[0-9]+>\(deleted\)|agenda\.txt\.)")
ok=0
for l in $data_synced; do [ "$l" -gt "$log_synced" ] && [ "$l" -lt "$renamed" ] && ok=1; done
[ $ok = 1 ] || fail "the new agenda's data was not synced before its rename"
rm -f "$dir.trace"
echo "log line synced at step $log_synced, agenda renamed at step $renamed, directory synced around it"
echo "1 passed, 0 failed"
