#!/bin/bash
# End to end under Wayland: the real program on a headless weston, as on today's default desktops.
# With a StatusNotifierItem host on a private bus, the window goes to the tray after the reminder
# and stays there until the icon is clicked, and the tray menu follows what is on screen. Without
# one, the window is minimised, and a second start brings it back, pictures and all, in front of
# a red desktop. Qt's protocol trace counts the windows made and destroyed; stderr stays quiet.
# usage: run_wayland_e2e.sh KESTRIN_BINARY ARTIFACTS_DIR
set -u
exe=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
mkdir -p "$artifacts"

command -v weston >/dev/null && command -v weston-screenshooter >/dev/null || fail "weston is needed"
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    fail "Qt's Wayland platform (qt6-wayland) is needed"

mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run HOME=$work
unset DISPLAY
export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kestrin-test
printf '[shell]\nbackground-color=0xffff0000\npanel-position=none\n' >"$work/weston.ini"
weston --backend=headless-backend.so --socket=$WAYLAND_DISPLAY --use-pixman --debug --idle-time=0 \
    --width=1024 --height=768 --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
pids+=($!)
# A loaded machine (the sanitizer build beside another test) takes seconds to start weston.
for i in $(seq 400); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston did not start: $(cat "$work/weston.log")"

# A private session bus, so that only our StatusNotifierItem host is there.
bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus-$1" >/dev/null 2>&1 &
    pids+=($!)
    for i in $(seq 100); do [ -s "$work/bus-$1" ] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus-$1")
}

# The windows of a run, from Qt's own trace of its requests.
made() { grep -c 'get_toplevel(new id' "$1"; }
destroyed() { grep -cE 'xdg_toplevel@[0-9]+\.destroy\(\)' "$1"; }
# stderr without the trace: Qt's complaints and ours.
complaints() { grep -v '^\[' "$1" | grep -v '^ *$'; }
# The screen's middle pixel, as "R,G,B".
shot() {
    (cd "$work" && rm -f wayland-screenshot*.png && weston-screenshooter >/dev/null 2>&1)
    local png; png=$(ls "$work"/wayland-screenshot*.png 2>/dev/null | head -1)
    [ -n "$png" ] || fail "no screenshot"
    mv "$png" "$artifacts/$1.png"
    convert "$artifacts/$1.png" -format '%[fx:int(255*p{512,384}.r)],%[fx:int(255*p{512,384}.g)],%[fx:int(255*p{512,384}.b)]' info:
}
red=255,0,0
# Starts the program on a data folder of its own, NAME, with Qt's protocol trace on its stderr,
# and waits for its window.
start() {
    mkdir "$work/$1"
    printf '"a",#2026-01-01#,#2000-01-01#\r\n' >"$work/$1/agenda.txt"
    WAYLAND_DEBUG=client "$exe" --dir "$work/$1" >"$work/$1.out" 2>"$work/$1.err" &
    kpid=$!
    pids+=($kpid)
    wait_for 10 made "$work/$1.err" >/dev/null || fail "no window"
}
# Ends it as a signal would: it must end cleanly, and stderr hold nothing but the trace.
stop() {
    kill -TERM $kpid
    wait $kpid
    [ $? = 0 ] || fail "the program did not end cleanly"
    [ -z "$(complaints "$work/$1.err")" ] || fail "stderr: $(complaints "$work/$1.err")"
}

# --- With a tray: the window hides in it and stays hidden.
bus tray
/usr/bin/python3 "$here/sni.py" host "$work/items" 2>"$work/sni.err" &
pids+=($!)
for i in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true && break
    sleep 0.05
done
start a
sleep 1
[ "$(shot tray-reminder)" != $red ] || fail "the window is not on screen"
wait_for 10 destroyed "$work/a.err" >/dev/null || fail "the window never went to the tray"
[ -s "$work/items" ] || fail "no icon registered with the host"
sleep 5
[ "$(made "$work/a.err")" = 1 ] || fail "the window came back by itself: $(made "$work/a.err") windows made"
! grep -q 'set_minimized()' "$work/a.err" || fail "the window was minimised on its way to the tray, not hidden"
[ "$(shot tray-hidden)" = $red ] || fail "something is on screen while the window is in the tray"
menu=$(/usr/bin/python3 "$here/sni.py" menu "$work/items")
grep -q $'^恢复(_R)\tTrue$' <<<"$menu" && grep -q $'^最小化(_M)\tFalse$' <<<"$menu" ||
    fail "the tray menu while hidden: $menu"
/usr/bin/python3 "$here/sni.py" activate "$work/items"
wait_for 5 bash -c "[ \$(grep -c 'get_toplevel(new id' '$work/a.err') = 2 ] && echo 1" >/dev/null ||
    fail "a click on the icon did not bring the window back"
sleep 3
[ "$(destroyed "$work/a.err")" = 1 ] || fail "the window went away again after the click"
[ "$(shot tray-restored)" != $red ] || fail "the window is not on screen after the click"
menu=$(/usr/bin/python3 "$here/sni.py" menu "$work/items")
grep -q $'^恢复(_R)\tFalse$' <<<"$menu" && grep -q $'^最小化(_M)\tTrue$' <<<"$menu" ||
    fail "the tray menu while shown: $menu"
stop a
echo "with a tray: 1 window, hidden after the reminder for 5 s, back on a click"

# --- Without a tray: minimised, and brought back by a second start.
bus bare
start b
wait_for 10 bash -c "grep -q 'set_minimized()' '$work/b.err' && echo 1" >/dev/null ||
    fail "the window was not minimised after the reminder"
sleep 1
[ "$(shot bare-minimised)" = $red ] || fail "the minimised window is still on screen"
XDG_ACTIVATION_TOKEN=from-the-launcher "$exe" --dir "$work/b" >"$work/second.out" 2>&1 ||
    fail "the second start failed: $(cat "$work/second.out")"
wait_for 5 bash -c "[ \$(grep -c 'get_toplevel(new id' '$work/b.err') -ge 2 ] && echo 1" >/dev/null ||
    fail "the second start did not bring the window back"
sleep 1
[ "$(shot bare-second-start)" != $red ] || fail "the desktop shows through the window after a second start"
if grep -q 'xdg_activation_v1' "$work/b.err"; then
    grep -q 'activate("from-the-launcher"' "$work/b.err" || fail "the launcher's token was not used"
    echo "the launcher's activation token was handed on"
fi
stop b
echo "without a tray: minimised after the reminder, back with its pictures on a second start"
echo "1 passed, 0 failed"
