#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test with CTest.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=ON >/dev/null
cmake --build build
cd build
ctest --output-on-failure -j2 "$@"
