# Sourced by the whole-program figures. idle_figures PID SECONDS prints "wake-ups/s CPU%" of a
# process over that time: wake-ups are the context switches of the threads alive over the whole
# window, CPU is user + system time.
switches() { for t in /proc/"$1"/task/*; do echo "${t##*/} $(awk '/ctxt_switches/ {s+=$2} END {print s}' "$t"/status)"; done | sort; }
idle_figures() {
    local pid=$1 seconds=$2 scratch cpu0 cpu1 s
    scratch=$(mktemp -d)
    switches "$pid" >"$scratch/0"
    cpu0=$(awk '{print $14+$15}' /proc/"$pid"/stat)
    sleep "$seconds"
    switches "$pid" >"$scratch/1"
    cpu1=$(awk '{print $14+$15}' /proc/"$pid"/stat)
    s=$(join "$scratch/0" "$scratch/1" | awk '{d+=$3-$2} END {print d+0}')
    rm -rf "$scratch"
    awk -v s="$s" -v c=$((cpu1 - cpu0)) -v t="$seconds" -v hz="$(getconf CLK_TCK)" \
        'BEGIN {printf "%.2f %.3f", s / t, 100 * c / hz / t}'
}
