#!/bin/bash
# Builds Kestrin and starts it. Its data files live beside the executable (build/); pass --dir DIR
# to keep them elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRIN_TESTS=OFF >/dev/null
cmake --build build --target kestrin
exec ./build/kestrin "$@"
