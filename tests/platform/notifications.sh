#!/bin/bash
# Desktop notifications over a private session bus: with a notification server the alarm goes to
# it, with its title and text; without one, to the tray icon's balloon.
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

/usr/bin/python3 "$here/fake_notifications.py" "$work/sent" 2>"$work/server.err" &
pids+=($!)
for i in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.Notifications 2>/dev/null | grep -q true && break
    sleep 0.05
done
[ "$("$probe" 2>/dev/null)" = server ] || { cat "$work/server.err"; fail "the server was not found on the bus"; }
for i in $(seq 40); do [ -s "$work/sent" ] && break; sleep 0.05; done
[ "$(cat "$work/sent" 2>/dev/null)" = "$(printf 'Kestrin\tkestrin\tKestrin闹钟\t吃药')" ] ||
    fail "the server got: $(cat "$work/sent" 2>/dev/null)"
echo "1 passed, 0 failed"
