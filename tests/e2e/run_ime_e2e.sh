#!/bin/bash
# Chinese typed as users type it, through an input method: ibus (libpinyin) or fcitx5 (pinyin),
# started headless on a private session bus under openbox, keys sent with xdotool. In the quick-add
# window a composition cancelled with Escape stays out of the item added with Return; in the main
# window Ctrl+Return adds what the entry box shows, a composition included.
# usage: run_ime_e2e.sh ibus|fcitx5 KESTRIN
set -u
im=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
# The input methods start helpers of their own (ibus-x11, ibus-dconf, dconf-service): every process
# of this run carries the marker, and goes at the end.
export KESTRIN_IME_RUN=$work
stop_marked() {
    for env in /proc/[0-9]*/environ; do
        grep -qsz "^KESTRIN_IME_RUN=$work$" "$env" && kill "$(basename "$(dirname "$env")")" 2>/dev/null
    done
    cleanup
}
trap stop_marked EXIT
agenda() { iconv -f GB18030 -t UTF-8 "$work/agenda.txt" 2>/dev/null; }
type_pinyin() { xdotool type --delay 80 "$1"; sleep 0.6; }

start_desktop || fail "no X server with a notification area"
openbox >/dev/null 2>&1 &
pids+=($!)
wait_for 10 xq wm-ready >/dev/null || fail "openbox did not start"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache \
    XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME/fcitx5" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
pids+=($!)
for i in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.05; done
[ -s "$work/bus" ] || fail "no private session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
if [ "$im" = ibus ]; then
    ibus-daemon -r -x >"$work/im.log" 2>&1 &
    pids+=($!)
    for i in $(seq 100); do ibus engine libpinyin 2>/dev/null && break; sleep 0.1; done
    [ "$(ibus engine 2>/dev/null)" = libpinyin ] || fail "ibus has no libpinyin: $(cat "$work/im.log")"
    export QT_IM_MODULE=ibus
    switch_on() { :; } # libpinyin starts in Chinese mode
else
    printf '[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n\n[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=pinyin\nLayout=\n\n[GroupOrder]\n0=Default\n' \
        >"$XDG_CONFIG_HOME/fcitx5/profile"
    fcitx5 -D >"$work/im.log" 2>&1 &
    pids+=($!)
    for i in $(seq 100); do fcitx5-remote >/dev/null 2>&1 && break; sleep 0.1; done
    export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
    # fcitx5 keeps one state a window, off at first.
    switch_on() {
        fcitx5-remote -o; sleep 0.3
        [ "$(fcitx5-remote)" = 2 ] && [ "$(fcitx5-remote -n)" = pinyin ] || fail "fcitx5 did not switch to pinyin"
    }
fi

# The quick-add window: 写周报 committed, 买菜 composed and cancelled, Return.
"$exe" --quick-add --dir "$work" >"$work/quick.log" 2>&1 &
qpid=$!
pids+=($qpid)
wait_for 10 xq titled $qpid "快速添加日程" >/dev/null || fail "the quick-add window never appeared"
sleep 0.5
switch_on
type_pinyin xiezhoubao
xdotool key space; sleep 0.4
type_pinyin maicai
xdotool key Escape; sleep 0.4
xdotool key Return
for i in $(seq 50); do kill -0 $qpid 2>/dev/null || break; sleep 0.1; done
[ "$(agenda | cut -d, -f1)" = '"写周报"' ] || fail "the quick-add window added: $(agenda) ($(cat "$work/quick.log"))"
echo "quick add, a composition cancelled: $(agenda)"

# The main window's entry: 电影 composed, then Ctrl+Return. fcitx5 takes Ctrl+Return itself while
# composing (it commits the letters), so there the word is chosen first.
"$exe" --dir "$work" >"$work/kestrin.log" 2>&1 &
kpid=$!
pids+=($kpid)
win=$(wait_for 20 xq main-visible $kpid) || fail "no main window: $(cat "$work/kestrin.log")"
icon=$(wait_for 5 xq tray-icon $kpid) || fail "no tray icon"
[ "$(xq click-when-hidden "$win" "$icon" 8)" != -1 ] || fail "the reminder did not send the window to the tray"
wait_for 5 xq main-visible $kpid >/dev/null || fail "the icon did not bring the window back"
sleep 0.5
xdotool mousemove --window "$win" 72 96 click 1 # 安排日程
sleep 0.3
xdotool mousemove --window "$win" 536 168 click 1 # 添加日程
sleep 0.5
switch_on
type_pinyin dianying
[ "$im" = ibus ] || { xdotool key space; sleep 0.4; }
xdotool key ctrl+Return
# A loaded machine may take a while to write the file: wait for the line or for the box.
added() { agenda | grep -q '^"电影",' && echo 1 || xq titled $kpid Tidewell; }
wait_for 8 added >/dev/null
[ "$(xq titled $kpid Tidewell)" = 0 ] || fail "the confirm said the entry was empty"
agenda | grep -q '^"电影",' || fail "Ctrl+Return did not add what the box showed: $(agenda) ($(cat "$work/kestrin.log"))"
echo "main window, Ctrl+Return while composing: $(agenda | tail -1)"

# The find line takes what the input method commits: 电影 typed there leaves that line alone in the
# list, and Delete from it deletes 电影, not the first line.
xdotool mousemove --window "$win" 147 104 click 1 # the first line of the list
sleep 0.3
xdotool key ctrl+f; sleep 0.4
switch_on
type_pinyin dianying
xdotool key space; sleep 0.5
xdotool key Return; sleep 0.2
xdotool key Delete
box=$(wait_for 5 xq titled $kpid "继续否？") || fail "no confirmation of the deletion"
xdotool windowfocus --sync "$box" key Return
only_first() { [ "$(agenda | cut -d, -f1)" = '"写周报"' ] && echo 1; }
wait_for 8 only_first >/dev/null
[ "$(agenda | cut -d, -f1)" = '"写周报"' ] || fail "the find line did not leave 电影 alone: $(agenda)"
echo "found through the input method and deleted: 电影"
echo PASS
