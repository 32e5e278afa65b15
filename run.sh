#!/usr/bin/env bash
# Installs what is missing, builds Release into build/ and starts the tool
# with a simulated recorder. Without a display it shows the main job on the
# console instead.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target quorvel quorvel-cli quorvel-recorder-sim

# A trial run remembers nothing: its settings live in folders of its own.
home=$(mktemp -d)
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
trap 'rm -rf "$home"' EXIT

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  build/bin/quorvel --simulate "$@"
  exit
fi

echo
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open."
echo "Running the download from the console against a simulated recorder instead."
out="$PWD/out"
mkdir -p "$out"
sim_out="$out/recorder-sim.txt"
build/bin/quorvel-recorder-sim >"$sim_out" 2>&1 &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -rf "$home"' EXIT
for _ in $(seq 50); do
  [ -s "$sim_out" ] && break
  sleep 0.1
done
port=$(head -n 1 "$sim_out")
echo "Simulated recorder on $port"
build/bin/quorvel-cli --port "$port" read-all --save "$out/Data1.log" >"$out/read-all.txt"
build/bin/quorvel-cli open "$out/Data1.dat" export --chart temperature --png "$out/temperature.png"
build/bin/quorvel-cli open "$out/Data1.dat" export --chart histogram --png "$out/histogram.png"
echo
echo "Logger, Read All: every report, in the order the window shows them:"
head -n 16 "$out/read-all.txt"
echo "..."
tail -n 3 "$out/read-all.txt"
echo
echo "All $(wc -l <"$out/read-all.txt") report lines are in $out/read-all.txt."
echo "File, Save wrote the report $out/Data1.log and the data file $out/Data1.dat;"
echo "the charts are $out/temperature.png and $out/histogram.png."
