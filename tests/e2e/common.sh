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
