#!/bin/bash
# The sync with a task list of 10,000 tasks over loopback: the first sync, a sync with one change on
# each side, and one with nothing changed, each beside floors measured in the same run: the same
# requests made with curl, and the same iCalendar parsed with libical alone. DAV_SERVER=radicale
# (the tasks come with the REPORT) or xandikos (the REPORT lists hrefs and ETags; the tasks come
# by calendar-multiget, 200 at a time).
# usage: [DAV_SERVER=radicale|xandikos] caldav.sh BUILD_DIR [TASKS] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")/../tests/sync" && pwd)
source "$here/server.sh"
build=$(cd "$1" && pwd)
tasks=${2:-10000}
runs=${3:-5}
kestrin=$build/kestrin
ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
requests() { grep -cE ' request for |aiohttp.access' "$work/server.log" || true; }

folder=$work/folder
mkdir -p "$folder"
login=(--user alice)
[ "$dav_server" != xandikos ] || login=() # no passwords there
echo secret | "$kestrin" --caldav "$url" "${login[@]}" --dir "$folder" >/dev/null
if [ "$dav_server" = xandikos ]; then
    store=$work/collections/user/calendars/tasks
else
    store=$work/collections/collection-root/alice/tasks
fi
/usr/bin/python3 - "$store" "$tasks" <<'PY'
import sys, random
store, count = sys.argv[1], int(sys.argv[2])
random.seed(7)
words = ["买菜", "做饭", "开会", "写报告", "交房租", "给妈妈打电话", "review", "准备材料"]
for i in range(count):
    summary = "、".join(random.choice(words) for _ in range(random.randint(1, 4))) + f" #{i}"
    start = f"2026{random.randint(1, 12):02d}{random.randint(1, 28):02d}"
    with open(f"{store}/t{i}.ics", "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//bench//x", "BEGIN:VTODO", f"UID:t{i}",
                             "DTSTAMP:20261201T000000Z", f"SUMMARY:{summary}", f"DTSTART;VALUE=DATE:{start}",
                             f"DUE;VALUE=DATE:{start}", "STATUS:NEEDS-ACTION", "END:VTODO", "END:VCALENDAR", ""]))
PY
# Xandikos serves what its git repository holds.
[ "$dav_server" != xandikos ] || (cd "$store" && git add -A && git -c user.name=bench -c user.email=bench@localhost commit -qm tasks)
cp "$folder/caldav.json" "$work/link.json"
report() {
    printf '<?xml version="1.0" encoding="utf-8"?><d:sync-collection xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:sync-token>%s</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/><c:calendar-data/></d:prop></d:sync-collection>' "$1" |
        curl -s -o "$work/report.xml" -u alice:secret -X REPORT -H 'Content-Type: application/xml' --data-binary @- "$url"
}
# The bodies the way the sync asks for them where the REPORT has none: multiget, 200 hrefs a time.
multigets() {
    /usr/bin/python3 - "$work/report.xml" "$work/multiget" <<'PY'
import re, sys
hrefs = re.findall(r"<(?:\w+:)?href>([^<]*\.ics)</", open(sys.argv[1]).read())
for n, i in enumerate(range(0, len(hrefs), 200)):
    with open(f"{sys.argv[2]}-{n}.xml", "w") as f:
        f.write('<?xml version="1.0" encoding="utf-8"?><c:calendar-multiget xmlns:d="DAV:" '
                'xmlns:c="urn:ietf:params:xml:ns:caldav"><d:prop><d:getetag/><c:calendar-data/></d:prop>'
                + "".join(f"<d:href>{h}</d:href>" for h in hrefs[i:i + 200]) + "</c:calendar-multiget>")
PY
    for body in "$work"/multiget-*.xml; do
        curl -s -o /dev/null -u alice:secret -X REPORT -H 'Content-Type: application/xml' --data-binary @"$body" "$url"
    done
}
report "" # Radicale reads its storage once and keeps it cached, for every measure below alike.
[ "$dav_server" != xandikos ] || { rm -f "$work"/multiget-*.xml; multigets; }

echo "tasks: $tasks; medians of $runs runs"
first=() floor_fetch=()
for r in $(seq "$runs"); do
    t0=$(ms); report ""; [ "$dav_server" != xandikos ] || multigets; t1=$(ms); floor_fetch+=($((t1 - t0)))
    rm -f "$folder/agenda.txt" "$folder/my.log"; cp "$work/link.json" "$folder/caldav.json"
    t0=$(ms); "$kestrin" --sync --dir "$folder" >"$work/first.out"; t1=$(ms); first+=($((t1 - t0)))
done
[ "$(iconv -f GB18030 -t UTF-8 "$folder/agenda.txt" | grep -c '"')" = "$tasks" ] || { echo "the first sync did not bring every task:"; head -c 2000 "$work/first.out"; exit 1; }
floor_parse=$("$build/bench/ical_floor" "$store")
f_first=$(printf '%s\n' "${first[@]}" | median)
f_fetch=$(printf '%s\n' "${floor_fetch[@]}" | median)
echo "$dav_server, first sync: $f_first ms; floors: the same REPORT (and multigets) with curl $f_fetch ms, libical parsing the same tasks $floor_parse ms"
awk -v a="$f_first" -v b="$f_fetch" -v c="$floor_parse" 'BEGIN {printf "first sync / (REPORT + libical): %.2f\n", a / (b + c)}'

change=() floor_change=()
for r in $(seq "$runs"); do
    token=$(/usr/bin/python3 -c "import json; print(json.load(open('$folder/caldav.json'))['token'])")
    "$kestrin" --add "本机-$r" --finish 2026-12-31 --dir "$folder"
    /usr/bin/python3 "$here/dav.py" "$url" alice secret put "phone-$r" "手机-$r" 20261201 20261231
    t0=$(ms); "$kestrin" --sync --dir "$folder" >/dev/null; t1=$(ms); change+=($((t1 - t0)))
    # The floor: the same REPORT, and a new task written as the sync writes the new item (Radicale
    # looks through the whole list for a new task's UID, so this PUT costs what the sync's does).
    sed "s/^UID:t$r\r\$/UID:floor-$r\r/" "$store/t$r.ics" >"$work/floor.ics"
    t0=$(ms); report "$token"
    # Xandikos lists the phone's task alone: its body is one multiget more.
    [ "$dav_server" != xandikos ] || { rm -f "$work"/multiget-*.xml; multigets; }
    curl -s -o /dev/null -u alice:secret -X PUT -H 'Content-Type: text/calendar' -H 'If-None-Match: *' \
        --data-binary @"$work/floor.ics" "${url}floor-$r.ics"
    t1=$(ms); floor_change+=($((t1 - t0)))
done
f_change=$(printf '%s\n' "${change[@]}" | median)
f_cfetch=$(printf '%s\n' "${floor_change[@]}" | median)
echo "one change on each side: $f_change ms; floor: the same REPORT and a new task's PUT with curl $f_cfetch ms"
awk -v a="$f_change" -v b="$f_cfetch" 'BEGIN {printf "change sync / (REPORT + PUT): %.2f\n", a / b}'

# The floors' own tasks come down first: then nothing has changed.
"$kestrin" --sync --dir "$folder" >/dev/null
before=$(requests)
t0=$(ms); "$kestrin" --sync --dir "$folder" >/dev/null; t1=$(ms)
echo "nothing changed: $((t1 - t0)) ms, $(( $(requests) - before )) request(s)"
