#!/usr/bin/python3
"""Reads Google Benchmark's JSON (repetitions, aggregates) and prints each operation beside its
floor from the same run: the median milliseconds of both and their ratio against the target."""
import json
import sys

ROWS = [
    # operation, benchmark, floor, target
    ("load agenda.txt", "BM_AgendaFileLoad", "BM_FloorReadDecode", 1.5),
    ("load agenda.txt", "BM_AgendaFileLoad", "BM_FloorReadDecodeQt", 1.5),
    ("ordering by set date, list repainted", "BM_SortAgenda/1", "BM_FloorStableSort", 4.0),
    ("ordering by finish date, list repainted", "BM_SortAgenda/2", "BM_FloorStableSort", 4.0),
    ("ordering by days left, list repainted", "BM_SortAgenda/3", "BM_FloorStableSort", 4.0),
    ("rewrite agenda.txt", "BM_AgendaRewrite", "BM_FloorWriteSync", 1.3),
    # What every store write adds to it: the data folder held and let go.
    ("hold the data folder", "BM_FolderHold", "BM_FloorWriteSync", 0.05),
    ("loading my.log with the list", "BM_LoadLog", "BM_FloorReadSplit", 1.5),
    # A key typed in the find line over 10,000 log entries: held to a frame, 16 ms, not to a ratio.
    ("a key in the find line: initials (xzb)", "BM_FindKeystroke/0", "BM_FindFloorSubstring", "16 ms"),
    ("a key in the find line: whole pinyin", "BM_FindKeystroke/1", "BM_FindFloorSubstring", "16 ms"),
    ("a key in the find line: a date (2025-06)", "BM_FindKeystroke/2", "BM_FindFloorSubstring", "16 ms"),
    ("a key in the find line: Chinese (周报)", "BM_FindKeystroke/3", "BM_FindFloorSubstring", "16 ms"),
]
FLOORS = {
    "BM_FloorReadDecode": "read + decode into one QString",
    "BM_FloorReadDecodeQt": "read + decode with Qt's converter",
    "BM_FloorStableSort": "std::stable_sort of the 32,767 keys",
    "BM_FloorWriteSync": "write the same bytes + fsync",
    "BM_FloorReadSplit": "read + split lines",
    "BM_FindFloorSubstring": "a substring scan of the 10,000 texts",
}


def medians(path):
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"].split("/min_time")[0]
        ms = b["real_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6, "s": 1e3}[b["time_unit"]]
        out[name] = ms
    return out


def main():
    m = medians(sys.argv[1])
    print("| operation | median | floor | floor median | ratio | target |")
    print("|---|---|---|---|---|---|")
    missed = 0
    for label, op, floor, target in ROWS:
        if op not in m or floor not in m:
            print(f"| {label} | missing | | | | |")
            missed += 1
            continue
        ratio = m[op] / m[floor]
        if isinstance(target, str):
            over = m[op] > float(target.split()[0])
        else:
            over = ratio > target
        verdict = "MISSED" if over else "met"
        missed += over
        print(f"| {label} | {m[op]:.2f} ms | {FLOORS[floor]} | {m[floor]:.2f} ms | "
              f"{ratio:.2f} | ≤ {target} ({verdict}) |")
    return 0


sys.exit(main())
