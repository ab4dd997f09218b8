#!/bin/bash
# Kills the sync with SIGKILL at random moments while both sides have changes, then syncs again:
# no item is lost (each is in the agenda, open on the server, or in my.log and completed there),
# and none is doubled, in the agenda or on the server.
# usage: sync_kill_test.sh KESTRIN [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server.sh"
kestrin=$1
rounds=${2:-40}
dir=$work/folder
mkdir -p "$dir"
printf '"起点",#2026-12-01#,#2026-12-31#\r\n' | iconv -f UTF-8 -t GB18030 >"$dir/agenda.txt"
echo secret | "$kestrin" --caldav "$url" --user alice --dir "$dir" >/dev/null || fail "connect"
: >"$work/made"
killed=0
RANDOM=20021227
for k in $(seq "$rounds"); do
    # A change here, one on the phone, and now and then a completion there.
    "$kestrin" --add "本地-$k" --finish 2026-12-31 --dir "$dir"
    dav put "phone-$k" "手机-$k" 20261201 20261231
    printf '本地-%s\n手机-%s\n' "$k" "$k" >>"$work/made"
    if [ $((k % 3)) = 0 ]; then dav complete "手机-$((k - 1))" 20261207; fi
    "$kestrin" --sync --dir "$dir" >/dev/null 2>&1 &
    pid=$!
    # A sync here takes some 40 ms, half of it starting up.
    sleep "0.0$(printf '%02d' $((RANDOM % 45)))"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null && status=0 || status=$?
    [ "$status" = 137 ] && killed=$((killed + 1))
    out=$("$kestrin" --sync --dir "$dir" 2>&1) || fail "round $k: the sync after the kill failed: $out"
    dav list >"$work/server"
    /usr/bin/python3 - "$dir" "$work/made" "$work/server" <<'PY' || fail "round $k"
import sys
folder, made, server = sys.argv[1:]
agenda = [l.split('",#')[0][1:] for l in open(f"{folder}/agenda.txt", encoding="gb18030").read().splitlines() if l]
log = [l.split(": 设置日期")[0] for l in open(f"{folder}/my.log", encoding="gb18030").read().splitlines() if l] \
    if __import__("os").path.exists(f"{folder}/my.log") else []
tasks = [l.split("\t") for l in open(server, encoding="utf-8").read().splitlines()]
summaries = [t[0] for t in tasks]
status = {t[0]: t[1] for t in tasks}
problems = []
if len(set(agenda)) != len(agenda): problems.append(f"twins in the agenda: {agenda}")
if len(set(summaries)) != len(summaries): problems.append(f"twins on the server: {sorted(summaries)}")
for text in open(made, encoding="utf-8").read().split():
    if text in agenda:
        if status.get(text) != "NEEDS-ACTION": problems.append(f"{text} is in the agenda but {status.get(text)} there")
    elif text not in log:
        problems.append(f"{text} is lost: in neither file")
    elif status.get(text) != "COMPLETED":
        problems.append(f"{text} left the agenda but is {status.get(text)} there")
if problems:
    print("\n".join(problems)); sys.exit(1)
PY
done
[ "$killed" -ge $((rounds / 3)) ] || fail "only $killed of $rounds syncs were killed before they ended"
ok "$rounds syncs, $killed killed at random moments: nothing lost, nothing doubled"
