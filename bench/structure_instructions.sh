#!/bin/bash
# The structure's cost in instructions, counted by callgrind (milliseconds move by a fifth from run
# to run on a shared machine): each of kestrin_bench's Structure benchmarks without structure (0)
# and with it (1), the instructions of one call of what it times, and their ratio.
# usage: structure_instructions.sh BUILD_DIR   (BUILD_DIR from the bench preset)
set -eu
bench=$(cd "$1" && pwd)/bench/kestrin_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
per_call() { # benchmark, function: instructions of one call
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$work/out" \
        "$bench" --benchmark_filter="$1\$" --benchmark_min_time=0.01 >/dev/null 2>&1
    callgrind_annotate --inclusive=yes --tree=caller "$work/out" 2>/dev/null | /usr/bin/python3 -c '
import re, sys
name = sys.argv[1]
lines = sys.stdin.read().splitlines()
for i, line in enumerate(lines):
    if "*  " in line and name in line:
        total = int(line.split()[0].replace(",", ""))
        calls = 0
        for before in reversed(lines[:i]):
            m = re.search(r"\((\d+)x\)", before)
            if not m or "<" not in before:
                break
            calls += int(m.group(1))
        print(total // max(calls, 1))
        break' "$2"
}
for case in "StructureLoad AgendaStore::load(QDate)" "StructureList loadAndDraw(" \
            "StructureSyncAtRest SyncMerge::plan("; do
    set -- $case
    flat=$(per_call "BM_$1/0/min_time:1.000" "$2")
    tree=$(per_call "BM_$1/1/min_time:1.000" "$2")
    echo "$1: $flat → $tree instructions, $(/usr/bin/python3 -c "print(f'{$tree / $flat:.2f}')")×"
done
