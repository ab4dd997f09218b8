#!/bin/bash
# Desktop notifications over a private session bus: with a notification server the alarm goes to
# it, with its title and text; without one, to the tray icon's balloon. A server that offers buttons
# gets the notice's two, hands a pressed one back, and is asked to take back a withdrawn one.
# usage: notifications.sh NOTIFY_PROBE
set -u
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "0 passed, 1 failed"; exit 1; }

dbus-daemon --session --nofork --print-address=3 3>"$work/address" >/dev/null 2>&1 &
pids+=($!)
for i in $(seq 100); do [ -s "$work/address" ] && break; sleep 0.05; done
[ -s "$work/address" ] || fail "no private session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/address")
export QT_QPA_PLATFORM=offscreen

[ "$("$probe" 2>/dev/null)" = balloon ] || fail "without a server the balloon should be used"

# start_server LOG [actions]
start_server() {
    /usr/bin/python3 "$here/fake_notifications.py" "$@" 2>"$work/server.err" &
    server=$!
    pids+=($server)
    for i in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
            string:org.freedesktop.Notifications 2>/dev/null | grep -q true && return
        sleep 0.05
    done
    cat "$work/server.err"
    fail "the server was not found on the bus"
}

start_server "$work/sent"
[ "$("$probe" 2>/dev/null)" = server ] || fail "the probe did not find the server"
for i in $(seq 40); do [ -s "$work/sent" ] && break; sleep 0.05; done
[ "$(cat "$work/sent" 2>/dev/null)" = "$(printf 'Kestrin\tkestrin\tKestrin闹钟\t吃药')" ] ||
    fail "the server got: $(cat "$work/sent" 2>/dev/null)"

# Buttons are sent only to a server that lists them.
"$probe" buttons >"$work/out" 2>/dev/null &
probe_pid=$!
for i in $(seq 100); do [ "$(wc -l <"$work/sent")" -ge 3 ] && break; sleep 0.05; done
kill $probe_pid 2>/dev/null
wait $probe_pid 2>/dev/null
[ "$(sed -n 2p "$work/sent")" = "$(printf 'Kestrin\tkestrin\tKestrin闹钟\t吃药')" ] ||
    fail "buttons went to a server without them: $(sed -n 2p "$work/sent")"
kill $server
wait $server 2>/dev/null

start_server "$work/buttons" actions
"$probe" buttons >"$work/out" 2>/dev/null &
probe_pid=$!
for i in $(seq 100); do grep -q '^closed' "$work/buttons" 2>/dev/null && break; sleep 0.05; done
[ "$(sed -n 1p "$work/buttons")" = "$(printf 'Kestrin\tkestrin\tKestrin闹钟\t吃药\tsnooze-5,5 分钟后再响,dismiss,我知道啦')" ] ||
    fail "the server got: $(cat "$work/buttons")"
grep -qx 'closed 2' "$work/buttons" || fail "the withdrawn notification was not closed: $(cat "$work/buttons")"
dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.kestrin.Test.Press uint32:1 string:snooze-5 >/dev/null || fail "the server could not press"
wait $probe_pid
grep -qx 'pressed 1 snooze-5' "$work/out" || fail "the press did not come back: $(cat "$work/out")"
echo "1 passed, 0 failed"
