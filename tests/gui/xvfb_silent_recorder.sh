#!/usr/bin/env bash
# The window against a recorder that falls silent, as a user meets it: start
# quorvel-recorder-sim --silent-after 8 and quorvel --timeout 2 on a virtual
# display, press Ctrl+A; after the time-out and within 10 s a message box
# appears (screenshots in OUT_DIR; its text is checked word for word by the
# offscreen window test); after OK the window is ready again, so a second
# Ctrl+A runs and times out too.
#   xvfb_silent_recorder.sh BIN_DIR OUT_DIR
set -euo pipefail
bin=$1
out=$2
mkdir -p "$out"
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
# Everything the programs need, set here: the display, the platform, and
# settings folders of their own.
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
unset QUORVEL_PORT1 QUORVEL_PORT2

"$bin/quorvel-recorder-sim" --silent-after 8 >"$work/sim.out" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
port=$(head -n 1 "$work/sim.out")
[ -n "$port" ] || { echo "FAIL: the simulated recorder named no device"; exit 1; }

"$bin/quorvel" --port1 "$port" --port2 /nonexistent/quorvel-comm2 --timeout 2 >"$work/quorvel.log" 2>&1 &
app=$!
# A window that never shows ends the search with a failure: say so instead of
# letting set -e end the script without a word.
window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Brindlemark Quorvel' | head -n 1) || true
[ -n "$window" ] || { echo "FAIL: the window did not appear"; cat "$work/quorvel.log"; exit 1; }

windows() { xdotool search --onlyvisible --classname quorvel 2>/dev/null | wc -l; }

# One Ctrl+A: the time-out message must come after 2 s and within 10 s.
read_all_times_out() {  # round
  xdotool windowfocus --sync "$window"
  local start
  start=$(date +%s%3N)
  xdotool key ctrl+a
  local box=
  while [ $(($(date +%s%3N) - start)) -lt 10000 ]; do
    sleep 0.1
    if [ "$(windows)" -ge 2 ]; then
      box=$(xdotool search --onlyvisible --name '^Temperature Quorvel$' | head -n 1)
      [ -n "$box" ] && break
    fi
  done
  local took=$(($(date +%s%3N) - start))
  [ -n "$box" ] || { echo "FAIL (round $1): no time-out message within 10 s"; exit 1; }
  [ "$took" -ge 2000 ] || { echo "FAIL (round $1): the message came before the 2 s time-out ($took ms)"; exit 1; }
  import -window "$box" "$out/silent_recorder_message_$1.png"
  echo "round $1: the time-out message came after $took ms"
  xdotool key Return
  for _ in $(seq 50); do [ "$(windows)" -le 1 ] && break; sleep 0.1; done
  [ "$(windows)" -le 1 ] || { echo "FAIL (round $1): the message did not close"; exit 1; }
}

read_all_times_out 1
sleep 0.5
import -window "$window" "$out/silent_recorder_window.png"
# The menu items are enabled again: a second Read All starts and times out
# too (the recorder stays silent).
read_all_times_out 2
kill -0 "$app" || { echo "FAIL: the program ended"; exit 1; }
echo "silent recorder passed: two time-outs reported, the window ready after each"
