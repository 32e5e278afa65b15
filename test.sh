#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test with CTest.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=ON >/dev/null
cmake --build build
# No test reads or writes the user's remembered settings.
home=$(mktemp -d)
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
trap 'rm -rf "$home"' EXIT
cd build
ctest --output-on-failure -j2 "$@"
