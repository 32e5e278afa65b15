#!/usr/bin/env bash
# Checks which way the project's includes run, so the layering stays visible
# and enforced: each rule names a folder and the include prefixes its files
# must not use. Prints every offending line and exits 1 when there is one.
#
#   check_include_directions.sh SOURCE_ROOT
#   check_include_directions.sh --self-test   (plants wrong includes in a
#                                              copy and expects them caught)
set -euo pipefail

# folder | forbidden include prefixes (space separated)
rules=(
  "plot/surface|plot/axes/ plot/chart/ plot/series/ plot/printing/ plot/functions/"
  "plot/axes|plot/series/ plot/printing/ plot/functions/"
  "plot|app/ cli/ sim/ platform/posix/ platform/qt_gui/ platform/qt_widgets/ Q"
  "runtime|platform/ plot/ app/ cli/ sim/ Q"
  "sim|platform/ plot/ app/ cli/ Q"
  "app|app/gui/ platform/posix/ platform/qt_gui/ platform/qt_widgets/ cli/ Q"
  ".|canvas/ series/ chart/"
)

check_tree() {
  local root=$1 bad=0 rule folder prefixes alternatives hits
  for rule in "${rules[@]}"; do
    folder=${rule%%|*}
    prefixes=${rule#*|}
    [ -d "$root/$folder" ] || continue
    alternatives=$(printf '%s|' $prefixes)
    alternatives=${alternatives%|}
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<](${alternatives})" \
             --include='*.h' --include='*.cpp' --include='*.cpp.in' \
             --exclude-dir='build*' --exclude-dir=.git "$root/$folder" || true)
    # app/gui is the window: its own rule is the build's link table.
    [ "$folder" = app ] && hits=$(grep -v "^$root/app/gui/" <<<"$hits" || true)
    if [ -n "$hits" ]; then
      echo "files under $folder/ may not include any of: $prefixes"
      echo "$hits" | sed 's/^/  /'
      bad=1
    fi
  done
  return $bad
}

if [ "${1:-}" = "--self-test" ]; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  mkdir -p "$tmp/plot/surface" "$tmp/plot/axes" "$tmp/app"
  echo '#include "plot/surface/plot_canvas.h"' >"$tmp/plot/axes/good.cpp"
  check_tree "$tmp" >/dev/null || { echo "self-test: a good include was refused"; exit 1; }
  for planted in 'plot/surface/x.cpp|#include "plot/axes/chart_axis.h"' \
                 'plot/axes/x.cpp|#include "plot/series/line_series.h"' \
                 'plot/axes/x.cpp|#include "plot/functions/chart_function.h"' \
                 'plot/surface/x.cpp|#include "plot/functions/basic_functions.h"' \
                 'plot/x.cpp|#include <QPainter>' \
                 'app/x.cpp|#include "app/gui/tmain.h"' \
                 'app/x.cpp|  #  include "canvas/plot_canvas.h"'; do
    file=$tmp/${planted%%|*}
    echo "${planted#*|}" >"$file"
    if check_tree "$tmp" >/dev/null; then
      echo "self-test: planted '${planted#*|}' in ${planted%%|*} was not caught"
      exit 1
    fi
    rm "$file"
  done
  echo "self-test: every planted include was caught"
  exit 0
fi

root=${1:?usage: check_include_directions.sh SOURCE_ROOT | --self-test}
if check_tree "$root"; then
  echo "include directions: all good"
else
  exit 1
fi
