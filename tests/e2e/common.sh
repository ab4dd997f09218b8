# Sourced by the end-to-end tests after they set $here: a temporary folder, the processes to stop
# at the end, and small helpers. Desktop start-up comes from desktop.sh.
xq() { /usr/bin/python3 "$here/xquery.py" "$@"; }
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }
# wait_for SECONDS COMMAND...: polls every 50 ms until the command prints something other than 0.
wait_for() {
    local limit=$(( $(now_ms) + $1 * 1000 )); shift
    while [ "$(now_ms)" -lt "$limit" ]; do
        local out; out=$("$@" 2>/dev/null)
        if [ -n "$out" ] && [ "$out" != 0 ]; then echo "$out"; return 0; fi
        sleep 0.05
    done
    return 1
}
# libfaketime's library, for a wall clock set by the test; empty when it is not installed.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
source "$here/desktop.sh"
# The desktop a screen reader reads: the X server with its notification area, openbox, a private
# session bus with the AT-SPI registry, and Qt's accessibility on.
start_atspi_desktop() {
    start_desktop || fail "no X server with a notification area"
    # A window manager, as a user has one: it activates the window itself when it is shown again.
    openbox >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 xq wm-ready >/dev/null || fail "openbox did not start"
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
    pids+=($!)
    for i in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.05; done
    [ -s "$work/bus" ] || fail "no private session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
    /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >/dev/null 2>&1 &
    pids+=($!)
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
