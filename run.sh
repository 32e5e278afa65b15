#!/usr/bin/env bash
# Installs what is missing, builds Release into build/ and starts the tool
# with a simulated recorder. Without a display it shows the main job on the
# console instead.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target quorvel quorvel-cli quorvel-recorder-sim

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/quorvel --simulate "$@"
fi

echo
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open."
echo "Running the download from the console against a simulated recorder instead."
out="$PWD/out"
mkdir -p "$out"
sim_out="$out/recorder-sim.txt"
build/bin/quorvel-recorder-sim >"$sim_out" 2>&1 &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -s "$sim_out" ] && break
  sleep 0.1
done
port=$(head -n 1 "$sim_out")
echo "Simulated recorder on $port"
for region in page0 page2 serial alarms histogram log; do
  build/bin/quorvel-cli --port "$port" read-raw "$region" >"$out/$region.txt"
  echo "  read-raw $region: $(wc -l <"$out/$region.txt") entries -> $out/$region.txt"
done
echo
echo "The downloaded store is in $out/ (one file per region: store index, TAB, value)."
