#!/bin/bash
# Builds everything and runs every test: once as built, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the benchmarks' smoke run and the fuzzers for a bounded time.
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
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -R e2e
