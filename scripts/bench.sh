#!/bin/bash
# The figures: benchmarks of the data path, the whole program beside a bare Qt baseline, and the
# readers of outside text fuzzed with libFuzzer. Installs what is missing, as test.sh does.
# usage: bench.sh [FUZZ_SECONDS_PER_TARGET] (default 300)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
fuzz_seconds=${1:-300}

echo "== Benchmarks of the data path (32,767 records; medians of 5), each beside its floor"
cmake --preset bench >/dev/null
cmake --build --preset bench
./build-bench/bench/kestrin_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 --benchmark_filter=-FirstLoad --benchmark_out=build-bench/data-path.json \
    --benchmark_out_format=json 2>/dev/null | grep -E 'Benchmark|median'
for i in 1 2 3; do ./build-bench/bench/kestrin_bench --benchmark_filter=FirstLoad 2>/dev/null | grep FirstLoad; done
/usr/bin/python3 bench/ratios.py build-bench/data-path.json

echo "== Instructions to the main window mapped, beside the bare Qt window (callgrind, 3 runs)"
bash bench/instructions.sh build-bench 3
echo "== Instructions to the main window's first frame on screen, the same way"
UNTIL=paint bash bench/instructions.sh build-bench 3

echo "== Kestrin beside a bare Qt baseline and its peers (10 interleaved rounds, 60 s hidden in the tray)"
bash bench/peers.sh build-bench 10 60

echo "== Alarm armed and a full agenda, beside the baseline (10 warm runs, 60 s idle in the tray)"
bash bench/whole_program.sh build-bench 10 60

echo "== Sync with a CalDAV task list of 10,000 tasks on Radicale, beside its floors (medians of 5)"
bash bench/caldav.sh build-bench 10000 5
# Xandikos lists hrefs and ETags alone, and gives the tasks by multiget: the same path, slower server.
echo "== The same on Xandikos, 500 tasks (medians of 3): its multiget takes seconds for each 200"
DAV_SERVER=xandikos bash bench/caldav.sh build-bench 500 3

echo "== A week of use in one run: 2,000 adds, 500 hand edits, 1,000 activations, 200 syncs, three alarms"
bash bench/soak.sh build-bench 2000

echo "== Fuzzing the readers of outside text ($fuzz_seconds s a target, clang's libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in fuzz_agenda_file fuzz_log_file fuzz_texts fuzz_caldav; do
    corpus=$(mktemp -d)
    # The seeds are the test files; new inputs go to a scratch corpus, and a crash's input lands in
    # tests/data, to be committed as a regression case.
    ./build-fuzz/tests/fuzz/$target -max_total_time="$fuzz_seconds" -max_len=8192 \
        -artifact_prefix=tests/data/crash- "$corpus" tests/data 2>&1 | grep -E '^Done|ERROR|SUMMARY' ||
        { rm -rf "$corpus"; exit 1; }
    rm -rf "$corpus"
done
echo "fuzzing: 0 failed"
