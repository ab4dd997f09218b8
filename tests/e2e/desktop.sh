# Sourced: starts Xvfb with a notification area (trayer) and exports DISPLAY. Expects $work (a
# temporary directory) and the array pids, to which it adds what it starts. Returns 1 on failure.
start_desktop() {
    # No session bus: Qt then docks its icon by XEmbed into trayer.
    unset DBUS_SESSION_BUS_ADDRESS
    export QT_QPA_PLATFORM=xcb
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    exec 3>&-
    local i
    for i in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || return 1
    export DISPLAY=:$(cat "$work/display")
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 28 >/dev/null 2>&1 &
    pids+=($!)
    for i in $(seq 200); do
        [ "$(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/xquery.py" tray-owner)" = 1 ] && return 0
        sleep 0.05
    done
    return 1
}
