#!/bin/bash
# Subtasks, priorities and tags with phones, against a real CalDAV server: the shapes Tasks.org,
# jtx Board (DAVx5), Nextcloud Tasks and Apple write come in as a tree (an orphan, a cycle and a
# self-link at the top level, a DEPENDS-ON no parent); a subtask added here goes up with its link in
# the same sync as its parent; a sync after a sync writes nothing; a priority set here rewrites
# PRIORITY alone; a parent the phone completes leaves its subtasks here, at the top level.
# usage: [DAV_SERVER=radicale|xandikos] caldav_tree_e2e.sh KESTRIN
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server.sh"
kestrin=$1
# A task as a client writes it: its PRODID, UID, summary and its own lines.
phone() {
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:%s\r\nBEGIN:VTODO\r\nUID:%s\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:%s\r\nDUE;VALUE=DATE:20261220\r\nSTATUS:NEEDS-ACTION\r\n%bEND:VTODO\r\nEND:VCALENDAR\r\n' \
        "$1" "$2" "$3" "$4" >"$work/$2.ics"
    dav putfile "$2" "$work/$2.ics"
}
mkdir -p "$work/a"
out=$(echo secret | k --caldav "$url" --user alice) || fail "connect: $out"

# Tasks.org: PRIORITY and CATEGORIES on the parent, RELTYPE=PARENT on the child.
phone "+//IDN tasks.org//android-140201//EN" torg-1 装修 'PRIORITY:1\r\nCATEGORIES:家庭,周末\r\n'
phone "+//IDN tasks.org//android-140201//EN" torg-2 买瓷砖 'RELATED-TO;RELTYPE=PARENT:torg-1\r\nPRIORITY:9\r\n'
# jtx Board through DAVx5: a parent beside a DEPENDS-ON, and its own X- property.
phone "+//IDN techbee.at//jtx Board//EN" jtx-1 贴瓷砖 'RELATED-TO;RELTYPE=DEPENDS-ON:torg-2\r\nRELATED-TO;RELTYPE=PARENT:torg-2\r\nX-JTX-COLOR:-1\r\n'
# Nextcloud Tasks: an untyped RELATED-TO is a parent.
phone "-//Nextcloud Tasks v0.16.1" nc-1 量尺寸 'RELATED-TO:torg-1\r\nCATEGORIES:a\\,b\r\nCATEGORIES:测量\r\n'
# Apple: RELATED-TO;RELTYPE=PARENT with an orphan's link, and a self-link and a cycle by hand.
phone "-//Apple Inc.//iOS 17.0//EN" apple-1 旧清单 'RELATED-TO;RELTYPE=PARENT:no-such-list\r\n'
phone "-//hand//x" self-1 自指 'RELATED-TO:self-1\r\n'
phone "-//hand//x" cyc-1 甲 'RELATED-TO;RELTYPE=PARENT:cyc-2\r\n'
phone "-//hand//x" cyc-2 乙 'RELATED-TO;RELTYPE=PARENT:cyc-1\r\n'
out=$(k --sync) || fail "the phones' tasks: $out"
[[ "$out" == *"下载 8 条"* ]] || fail "the phones' tasks: $out"
# In the order the server listed them; a subtask under its parent.
list=$(k --list | cut -f3-)
expected=$'装修\t\t高\t家庭,周末\n  买瓷砖\t\t低\t\n    贴瓷砖\n  量尺寸\t\t\ta,b,测量\n旧清单\n自指\n甲\n乙'
[ "$(sort <<<"$list")" = "$(sort <<<"$expected")" ] && [ "$(grep -A1 '^  买瓷砖' <<<"$list" | tail -1)" = "    贴瓷砖" ] &&
    [ "$(grep -B1 -e '^  量尺寸' -e '^  买瓷砖' <<<"$list" | head -1 | cut -f1)" = 装修 ] ||
    fail "the phones' tree: $(printf '%s\n---\n%s' "$list" "$expected")"
ok "the phones' shapes come in as a tree, an orphan, a self-link and a cycle at the top level"

k --add 量门 --finish 2026-12-15 --parent 装修 >/dev/null
k --add 买门 --finish 2026-12-16 >/dev/null
k --add 选门 --finish 2026-12-16 --parent 买门 >/dev/null
out=$(k --sync) || fail "subtasks here: $out"
[[ "$out" == *"上传 3 条"* ]] || fail "subtasks here: $out"
[[ "$(dav show 量门)" == *"RELATED-TO;RELTYPE=PARENT:torg-1"* ]] || fail "a subtask's link: $(dav show 量门)"
buy=$(dav show 买门 | grep '^UID:' | tr -d '\r' | cut -d: -f2)
[[ "$(dav show 选门)" == *"RELATED-TO;RELTYPE=PARENT:$buy"* ]] || fail "a subtask of a new parent: $(dav show 选门)"
ok "subtasks added here go up with their links, a new parent's in the same sync"

before=$(dav etags)
out=$(k --sync) || fail "at rest: $out"
[ "$out" = "同步完成：上传 0 条，下载 0 条，完成 0 条，冲突 0 条" ] || fail "at rest: $out"
[ "$(dav etags)" = "$before" ] || fail "a sync after a sync wrote"
ok "a sync after a sync sends nothing"

tiles_before=$(dav show 贴瓷砖 | grep -v -e '^PRIORITY' -e '^DTSTAMP' -e '^LAST-MODIFIED')
k --priority 贴瓷砖 中 >/dev/null
out=$(k --sync) || fail "priority here: $out"
tiles=$(dav show 贴瓷砖)
[[ "$tiles" == *"PRIORITY:5"* ]] || fail "priority: $tiles"
[ "$(grep -v -e '^PRIORITY' -e '^DTSTAMP' -e '^LAST-MODIFIED' <<<"$tiles")" = "$tiles_before" ] ||
    fail "more than the priority changed: $tiles"
ok "a priority set here rewrites PRIORITY alone"

dav complete 装修 20261209
out=$(k --sync) || fail "parent done there: $out"
[[ "$out" == *"完成 1 条"* ]] || fail "parent done there: $out"
list=$(k --list | cut -f3)
grep -qx '买瓷砖' <<<"$list" && grep -qx '  贴瓷砖' <<<"$list" && grep -qx '量尺寸' <<<"$list" ||
    fail "the subtasks of a parent done there: $list"
ok "a parent the phone completes leaves its subtasks here, at the top level"
echo PASS
