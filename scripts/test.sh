#!/bin/bash
# Builds everything and runs every test: once as built, once under AddressSanitizer and
# UndefinedBehaviorSanitizer; then prints the benchmark figures and runs the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_TESTS=ON -DKESTRIN_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j "$jobs" -E e2e
# The whole program under X: the X and font libraries keep caches to the end, so no leak check here.
# The sound test times rings to the millisecond, which means nothing in a sanitized build.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -R e2e -E e2e_sound

echo "== Benchmarks of the data path (32,767 records; medians of 5)"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRIN_TESTS=ON -DKESTRIN_BENCH=ON >/dev/null
cmake --build build-bench -j "$jobs" --target kestrin_bench
./build-bench/bench/kestrin_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 --benchmark_filter=-FirstLoad 2>/dev/null | grep -E 'Benchmark|median'
for i in 1 2 3; do ./build-bench/bench/kestrin_bench --benchmark_filter=FirstLoad 2>/dev/null | grep FirstLoad; done

echo "== The whole program beside a bare Qt baseline (10 warm runs, 60 s idle in the tray)"
cmake --build build-bench -j "$jobs" --target kestrin qt_baseline
bash bench/whole_program.sh build-bench 10 60

echo "== Fuzzing the readers of outside text (about a minute, clang's libFuzzer)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_TESTS=OFF \
    -DKESTRIN_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_agenda_file fuzz_log_file fuzz_texts
for pair in agenda:fuzz_agenda_file log:fuzz_log_file texts:fuzz_texts; do
    seeds=tests/data/fuzz/${pair%%:*}
    corpus=$(mktemp -d)
    # A crash's input lands beside the seeds, to be committed as a regression case.
    ./build-fuzz/tests/fuzz/${pair##*:} -max_total_time=20 -max_len=8192 -artifact_prefix="$seeds/crash-" \
        "$corpus" "$seeds" 2>&1 | grep -E '^Done|ERROR|SUMMARY' || { rm -rf "$corpus"; exit 1; }
    rm -rf "$corpus"
done
echo "fuzzing: 0 failed"
