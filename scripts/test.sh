#!/bin/bash
# Builds everything and runs every test, warnings as errors: unit, widget, end-to-end (the sync
# against Radicale among them), crash and fuzz smoke tests, the format check, then all the tests
# but the sound test once more under AddressSanitizer and UndefinedBehaviorSanitizer. The figures
# and the long fuzzing are in bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

echo "== Build and test"
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev

echo "== Format"
# The sources as clang-format writes them; "clang-format -i FILE" mends a file that fails.
sources=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench assets -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror $sources
echo "$(echo "$sources" | wc -w) files formatted"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
