#!/usr/bin/env bash
# The window's whole round trip as a user drives it: start quorvel with its
# simulated recorder on a virtual display, press Ctrl+A, wait for the
# download, check the report pane and the chart on screenshots, show the
# histogram, exit from the menu.
#   xvfb_round_trip.sh BIN_DIR OUT_DIR
set -eEuo pipefail
bin=$1
out=$2
mkdir -p "$out"
for tool in Xvfb xdotool import convert-im6.q16; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
# Says what the program and the server said, so a failure explains itself.
fail() {
  trap - ERR
  echo "FAIL: $*"
  for log in quorvel.log xvfb.log; do
    [ -s "$work/$log" ] && { echo "--- $log:"; cat "$work/$log"; }
  done
  exit 1
}
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Any other command that fails ends the test with a word on what it was.
trap 'fail "line $LINENO: $BASH_COMMAND"' ERR

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
# The program draws on this virtual display whatever the caller exported:
# headless shells often set QT_QPA_PLATFORM=offscreen, which would keep the
# window off the display.
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
# Settings folders of its own: no run sees another's settings.
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
unset QUORVEL_PORT1 QUORVEL_PORT2

"$bin/quorvel" --simulate >"$work/quorvel.log" 2>&1 &
app=$!
window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Brindlemark Quorvel' | head -n 1) || true
[ -n "$window" ] || fail "the window did not appear on $DISPLAY within 15 s"
xdotool windowfocus --sync "$window"
xdotool key ctrl+a

# Pixels of one colour in a region of a screenshot of the window.
count() {  # file colour-regex crop
  convert-im6.q16 "$1" -crop "$3" +repage txt:- | grep -cE "$2" || true
}
# Columns of a region that hold pure red: the temperature line crosses the
# whole plot, the histogram's few bars only some columns.
red_columns() {  # file crop
  convert-im6.q16 "$1" -crop "$2" +repage txt:- | awk -F'[,:]' '/#FF0000/ {c[$1] = 1} END {print length(c)}'
}
geometry() { xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}'; }
shot() { import -window "$window" "$1"; }

# The download takes about 2.7 s of line time; the listing and the red line
# appear at its end.
ok=0
for _ in $(seq 60); do
  sleep 0.5
  shot "$work/shot.png"
  size=$(geometry)
  w=${size%x*}
  h=${size#*x}
  red=$(red_columns "$work/shot.png" "$((w - 164))x$((h - 40))+0+40")
  [ "$red" -gt 200 ] && { ok=1; break; }
done
cp "$work/shot.png" "$out/window_read_all.png"
[ "$ok" = 1 ] || fail "no temperature line in the chart after 30 s (see $out/window_read_all.png)"
title=$(xdotool getwindowname "$window")
[ "$title" = "Brindlemark Quorvel - Cold room 3" ] || fail "caption '$title'"
text=$(count "$work/shot.png" '#(0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F](0|1|2|3)[0-9A-F]' "150x$((h - 60))+$((w - 160))+40")
[ "$text" -gt 300 ] || fail "the report pane shows no text ($text dark pixels)"

# Logger, Histogram: bars instead of the line.
xdotool key alt+l
sleep 0.3
xdotool key h
sleep 1
shot "$work/hist.png"
cp "$work/hist.png" "$out/window_histogram.png"
bars=$(count "$work/hist.png" '#(FF0000|C[0-9A-F]0000|8[0-9A-F]0000)' "$((w - 164))x$((h - 40))+0+40")
[ "$bars" -gt 100 ] || fail "no histogram bars ($bars bar pixels, see $out/window_histogram.png)"

# File, Exit ends the program.
xdotool key alt+f
sleep 0.3
xdotool key x
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then fail "File, Exit did not end the program"; fi
app=
echo "round trip passed: the line in $red columns, $text text pixels, $bars bar pixels"
