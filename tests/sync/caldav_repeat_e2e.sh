#!/bin/bash
# Repeating items with a phone, against a real CalDAV server: the rules go up as RRULEs a phone
# follows (ours beside them), a phone's repeating tasks come in as repeating items, and each way a
# client completes an occurrence moves the item on here with the occurrence in the log. The date
# is 2026-12-09 (libfaketime); the zone is the caller's TZ.
# usage: [DAV_SERVER=radicale|xandikos] TZ=… caldav_repeat_e2e.sh KESTRIN
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server.sh"
kestrin=$1
agenda() { iconv -f GB18030 -t UTF-8 "$work/a/agenda.txt"; }
journal() { iconv -f GB18030 -t UTF-8 "$work/a/my.log"; }
corpus=$here/../data/vtodo
mkdir -p "$work/a"

k --add 交物业费 --finish 2026-12-15 --repeat 每月 >/dev/null
k --add 写周报 --finish 2026-12-11 --repeat 每周 >/dev/null
k --add 妈妈生日 --repeat 每年农历八月十五 >/dev/null
k --add 值班 --finish 2026-12-09 --repeat 法定工作日 >/dev/null
out=$(echo secret | k --caldav "$url" --user alice) || fail "connect: $out"
[[ "$out" == *"上传 4 条"* ]] || fail "first sync: $out"
task=$(dav show 交物业费)
[[ "$task" == *"RRULE:FREQ=MONTHLY;BYMONTHDAY=15"* && "$task" == *"X-KESTRIN-REPEAT:每月 15"* ]] || fail "monthly: $task"
[[ "$(dav show 写周报)" == *"RRULE:FREQ=WEEKLY;BYDAY=FR"* ]] || fail "weekly: $(dav show 写周报)"
# None a phone would misread: ours alone.
task=$(dav show 妈妈生日)
[[ "$task" != *RRULE* && "$task" == *"X-KESTRIN-REPEAT:农历每年 八月十五"* && "$task" == *"DUE;VALUE=DATE:20270915"* ]] ||
    fail "lunar: $task"
[[ "$(dav show 值班)" != *RRULE* ]] || fail "official working days: $(dav show 值班)"
out=$(k --sync) || fail "sync: $out"
[ "$out" = "同步完成：上传 0 条，下载 0 条，完成 0 条，冲突 0 条" ] || fail "the rules did not stay agreed: $out"
ok "rules go up as RRULEs a phone follows, the lunar and official ones as ours alone"

# A phone's repeating tasks: Tasks.org's monthly, Thunderbird's weekly (in Beijing time).
dav putfile tasksorg-1 "$corpus/tasksorg-repeat.ics"
/usr/bin/python3 - "$corpus/thunderbird-repeat-done.ics" "$work/tb-series.ics" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
first = text.index(b"END:VTODO\r\n") + len(b"END:VTODO\r\n")
open(sys.argv[2], "wb").write(text[:first] + text[text.index(b"END:VCALENDAR"):])
PY
dav putfile thunderbird-1 "$work/tb-series.ics"
out=$(k --sync) || fail "phone's series: $out"
[[ "$out" == *"下载 2 条"* ]] || fail "phone's series: $out"
list=$(k --list)
# Thunderbird's series is due at 18:00 in Beijing: the item's time (05:00 in New York).
# Tasks.org's PRIORITY:9 comes in as 低, in the columns after the rule.
grep -q $'^2026-12-15\t.*\t交房租\t每月 15 日\t低\t$' <<<"$list" && grep -qE $'^2026-12-04 (18|05):00\t.*\t交周报\t每周五$' <<<"$list" ||
    fail "a phone's series did not come in as repeating items: $list"
ok "a phone's repeating tasks come in as repeating items"

# Tasks.org completes: the series' DUE and DTSTART move a month on, the task stays open.
sed 's/20261215/20270115/; s/DTSTART;VALUE=DATE:20261201/DTSTART;VALUE=DATE:20270101/' \
    "$corpus/tasksorg-repeat.ics" >"$work/tasksorg-done.ics"
dav putfile tasksorg-1 "$work/tasksorg-done.ics"
# Thunderbird completes: an occurrence, done at 10:00 in Beijing on the 5th, beside the series.
dav putfile thunderbird-1 "$corpus/thunderbird-repeat-done.ics"
before=$(dav etags)
out=$(k --sync) || fail "occurrences done there: $out"
[[ "$out" == *"上传 0 条，下载 0 条，完成 2 条"* ]] || fail "occurrences done there: $out"
agenda | grep -q '"交房租",#2027-01-01#,#2027-01-15#' || fail "Tasks.org: $(agenda)"
journal | grep -q '^交房租: 设置日期2026-12-01; 预定完成日期2026-12-15; 删除日期2026-12-09' || fail "Tasks.org: $(journal)"
done_on=$(date -d '2026-12-05 02:00 UTC' +%F)
agenda | grep -qE "\"交周报\",#$done_on#,#2026-12-11 (18|05):00:00#" || fail "Thunderbird: $(agenda)"
journal | grep -qE "^交周报: 设置日期.*; 预定完成日期2026-12-04 (18|05):00; 删除日期$done_on" || fail "Thunderbird: $(journal)"
[ "$(dav etags)" = "$before" ] || fail "a completion there was written back"
ok "a series moved on (Tasks.org) and an occurrence done beside it (Thunderbird) move the item on"

# Done here: the series moves with its time of day and zone, its rule and the occurrence stay.
k --done 交周报 >/dev/null
out=$(k --sync) || fail "done here: $out"
task=$(dav show 交周报)
[[ "$task" == *"DUE;TZID=Asia/Shanghai:20261218T180000"* && "$task" == *"RRULE:FREQ=WEEKLY"$'\r'* &&
    "$task" == *"RECURRENCE-ID;TZID=Asia/Shanghai:20261204T090000"* && "$task" == *"X-MOZ-GENERATION:1"* ]] ||
    fail "done here: $task"
ok "done here, the series moves on there and keeps its rule and occurrences"

# A client that completes the series' own task: this occurrence to the log, the next one open.
dav show 妈妈生日 | /usr/bin/python3 -c '
import sys
text = sys.stdin.read().replace("STATUS:NEEDS-ACTION\r\n", "")
at = text.index("END:VTODO")
sys.stdout.write(text[:at] + "STATUS:COMPLETED\r\nCOMPLETED:20261209T020000Z\r\n" + text[at:])' >"$work/birthday.ics"
dav replace 妈妈生日 "$work/birthday.ics"
out=$(k --sync) || fail "the series completed: $out"
[[ "$out" == *"上传 1 条"*"完成 1 条"* ]] || fail "the series completed: $out"
agenda | grep -q '"妈妈生日",#2026-12-09#,#2028-10-03#' || fail "lunar: $(agenda)"
journal | grep -q '^妈妈生日: .*预定完成日期2027-09-15; 删除日期' || fail "lunar: $(journal)"
task=$(dav show 妈妈生日)
[[ "$task" == *"STATUS:NEEDS-ACTION"* && "$task" != *"COMPLETED:"* && "$task" == *"DUE;VALUE=DATE:20281003"* &&
    "$task" == *"X-KESTRIN-REPEAT:农历每年 八月十五"* ]] || fail "not open again at the next date: $task"
out=$(k --sync) || fail "sync: $out"
[ "$out" = "同步完成：上传 0 条，下载 0 条，完成 0 条，冲突 0 条" ] || fail "at rest: $out"
ok "a series completed there comes back open at its next date"
echo PASS
