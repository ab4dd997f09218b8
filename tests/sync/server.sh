# Sourced by the sync tests first thing: the script runs again inside a private D-Bus session (its
# arguments unchanged), with a temporary folder, gnome-keyring unlocked as the secret store, a
# CalDAV server on a free port of 127.0.0.1 with a task list at $url (not made yet), and dav
# (dav.py as the phone). DAV_SERVER chooses the server: radicale (the default: alice's list, a
# password, each request logged so that tests can count them) or xandikos (no password; it lists
# hrefs and ETags without the tasks, and says "missing" as a 207). Expects $here.
if [ "${1:-}" != --inner ]; then
    dbus-run-session -- bash "$0" --inner "$@" 2>&1 | grep -v "Failed to set fd limit"
    exit "${PIPESTATUS[0]}"
fi
shift
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }

export HOME=$work/home LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"
eval "$(printf 'keyring' | gnome-keyring-daemon --unlock --components=secrets)"

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
dav_server=${DAV_SERVER:-radicale}
cat >"$work/radicale.conf" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $work/users
htpasswd_encryption = plain
[storage]
filesystem_folder = $work/collections
[rights]
type = owner_only
[logging]
level = info
CONF
printf 'alice:secret\nlin:Pw-林-2026\n' >"$work/users"
start_server() {
    if [ "$dav_server" = xandikos ]; then
        xandikos --defaults -d "$work/collections" -l 127.0.0.1 -p "$port" >>"$work/server.log" 2>&1 &
    else
        radicale --config "$work/radicale.conf" >>"$work/server.log" 2>&1 &
    fi
    server=$!
    pids+=("$server")
    for _ in $(seq 100); do
        /usr/bin/python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null && return 0
        sleep 0.1
    done
    cat "$work/server.log"; fail "$dav_server did not start"
}
start_server
if [ "$dav_server" = xandikos ]; then
    url="http://127.0.0.1:$port/user/calendars/tasks/"
else
    url="http://127.0.0.1:$port/alice/tasks/"
fi
dav() { /usr/bin/python3 "$here/dav.py" "$url" alice secret "$@"; }
# k ARGS...: the program over the folder $work/a at 2026-12-09 10:00 (libfaketime), in the caller's TZ.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
k() {
    [ -n "$faketime_lib" ] || fail "libfaketime is not installed"
    LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-09 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
        FAKETIME_DONT_RESET=1 "$kestrin" "$@" --dir "$work/a"
}
