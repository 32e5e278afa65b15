#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user and a
# developer get: the programs, the desktop entry, icons, metainfo, manual
# pages and completion (validated with the desktop's own tools), and the
# chart component as a package: the example and the gallery built against the
# prefix alone and run off screen to PNGs, and the plain-C++ part built
# without Qt.
#
#   check_install.sh BUILD_DIR SOURCE_DIR WORK_DIR VERSION
set -uo pipefail

build=$1 source=$2 work=$3 version=$4
app_id=com.brindlemark.quorvel
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -e "$prefix/$1" ] || fail "not installed: $1"; }
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

rm -rf "$work"
mkdir -p "$work"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install (build everything first: cmake --build $build)"
  exit 1
fi

# --- the programs and what the desktop and the shell need ----------------------

mapfile -t programs < <(ls "$prefix/bin")
[ "${programs[*]}" = "quorvel quorvel-cli quorvel-recorder-sim" ] ||
  fail "bin/ holds '${programs[*]}', not exactly the three programs"
for program in quorvel quorvel-cli quorvel-recorder-sim; do
  [ -x "$prefix/bin/$program" ] || { fail "bin/$program is not executable"; continue; }
  said=$("$prefix/bin/$program" --version 2>/dev/null)
  [ "$said" = "$program $version" ] || fail "$program --version says '$said', not '$program $version'"
  page=share/man/man1/$program.1.gz
  need "$page"
  gzip -t "$prefix/$page" 2>/dev/null || fail "$page is not a whole gzip file"
  zcat "$prefix/$page" 2>/dev/null | grep -q "^\.TH .* \"Quorvel $version\"" ||
    fail "$page does not carry the version $version"
done

desktop=share/applications/$app_id.desktop
need "$desktop"
desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate refuses $desktop"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/$desktop")
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "$desktop starts '${exec_line}', which is not installed"
[ "$(sed -n 's/^Icon=//p' "$prefix/$desktop")" = "$app_id" ] || fail "$desktop names another icon"

need "share/icons/hicolor/scalable/apps/$app_id.svg"
for size in 48 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$app_id.png
  need "$png"
  got=$(identify-im6.q16 -format '%wx%h %[opaque]' "$prefix/$png" 2>/dev/null)
  # Square, of its size, and with a transparent background.
  [ "${got,,}" = "${size}x${size} false" ] || fail "$png is '$got', not a ${size}x${size} icon with transparency"
done

metainfo=share/metainfo/$app_id.metainfo.xml
need "$metainfo"
appstreamcli validate --no-net "$prefix/$metainfo" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli refuses $metainfo"; }
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/$metainfo" ||
  fail "$metainfo does not launch $app_id.desktop"
grep -qF "<release version=\"$version\"" "$prefix/$metainfo" || fail "$metainfo lacks the release $version"

completion=share/bash-completion/completions/quorvel-cli
need "$completion"
bash -c "source '$prefix/$completion' && complete -p quorvel-cli" >/dev/null 2>&1 ||
  fail "$completion does not register a completion for quorvel-cli"

# --- the chart component as a library -----------------------------------------

libdir=$(cd "$prefix" && ls -d lib*/cmake/QuorvelPlot 2>/dev/null | head -n 1)
[ -n "$libdir" ] || fail "no lib*/cmake/QuorvelPlot package"
libdir=${libdir%/cmake/QuorvelPlot}
for lib in runtime platform plot qt_gui qt_widgets; do need "$libdir/libquorvel_$lib.a"; done
# Every header of the component, its interfaces and the Qt side, in its folder.
while IFS= read -r header; do
  need "include/quorvel/$header"
done < <(cd "$source" && find runtime plot platform -name '*.h' -not -path 'platform/posix/*')
[ ! -e "$prefix/include/quorvel/platform/posix" ] || fail "the POSIX implementation's headers were installed"
grep -rlE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(app|cli|sim)/' "$prefix/include/quorvel" &&
  fail "installed headers include the application's"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Libraries built with the sanitizers need their runtimes in the programs
# that link them.
sanitize=()
[ -n "${QUORVEL_CONSUMER_LINK_FLAGS:-}" ] && sanitize=(-DCMAKE_EXE_LINKER_FLAGS="$QUORVEL_CONSUMER_LINK_FLAGS")
configure_and_build() {  # SOURCE BUILD
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" "${sanitize[@]}" >"$2.log" 2>&1 &&
    cmake --build "$2" >>"$2.log" 2>&1
}

# The example, as a user builds it: its folder alone and the installed package.
if configure_and_build "$source/examples/plot-minimal" "$work/example"; then
  # Its include folders: the prefix and Qt's, none from the source tree.
  while IFS= read -r dir; do
    [[ $dir == "$source"* && $dir != "$prefix"* ]] && fail "the example was compiled with $dir on its include path"
  done < <(grep -oE -- '(-I|-isystem )[^ "]+' "$work/example/compile_commands.json" | sed -E 's/^(-I|-isystem )//')
  shot=$work/plot-minimal.png
  if "$work/example/plot-minimal" --screenshot "$shot" 2>"$work/example-run.log"; then
    size=$(identify-im6.q16 -format '%wx%h' "$shot" 2>/dev/null)
    [ "$size" = 640x480 ] || fail "the example's PNG is '$size', not 640x480"
    # The bars' blue fill and the line's red, counted pixel by pixel.
    count() {
      convert-im6.q16 "$shot" -alpha off -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
    }
    bars=$(count '#4080C0') line=$(count '#FF0000')
    [ "${bars:-0}" -gt 20000 ] || fail "the example's PNG shows ${bars:-no} bar pixels"
    [ "${line:-0}" -gt 300 ] || fail "the example's PNG shows ${line:-no} line pixels"
    echo "example: $shot, $size, $bars bar and $line line pixels"
  else
    cat "$work/example-run.log"
    fail "the example did not run to a PNG"
  fi
else
  tail -n 30 "$work/example.log"
  fail "the example does not build against the installed package"
fi

# The gallery, the same way: built against the prefix alone, one picture per
# registered kind written into a folder.
if configure_and_build "$source/examples/plot-gallery" "$work/gallery-build"; then
  while IFS= read -r dir; do
    [[ $dir == "$source"* && $dir != "$prefix"* ]] && fail "the gallery was compiled with $dir on its include path"
  done < <(grep -oE -- '(-I|-isystem )[^ "]+' "$work/gallery-build/compile_commands.json" | sed -E 's/^(-I|-isystem )//')
  if "$work/gallery-build/plot-gallery" "$work/gallery" >"$work/gallery-run.log" 2>&1; then
    for picture in gantt arrow bubble shape function-add function-average; do
      size=$(identify-im6.q16 -format '%wx%h' "$work/gallery/$picture.png" 2>/dev/null)
      [ "$size" = 800x600 ] || fail "the gallery's $picture.png is '$size', not 800x600"
    done
    echo "gallery: $(ls "$work/gallery" | wc -l) pictures in $work/gallery"
  else
    cat "$work/gallery-run.log"
    fail "the gallery did not run"
  fi
else
  tail -n 30 "$work/gallery-build.log"
  fail "the gallery does not build against the installed package"
fi

# The plain-C++ part: every header of plot/, runtime/ and the interfaces in
# one program that links QuorvelPlot::plot alone, with no Qt on its paths.
mkdir -p "$work/plain"
{
  echo 'cmake_minimum_required(VERSION 3.25)'
  echo 'project(plain_plot LANGUAGES CXX)'
  echo 'set(CMAKE_CXX_STANDARD 20)'
  echo 'find_package(QuorvelPlot REQUIRED)'
  echo 'add_executable(plain_plot main.cpp)'
  echo 'target_link_libraries(plain_plot PRIVATE QuorvelPlot::plot)'
} >"$work/plain/CMakeLists.txt"
{
  (cd "$prefix/include/quorvel" && find plot runtime -name '*.h' | sort && ls platform/*.h) |
    sed 's/.*/#include "&"/'
  cat <<'CPP'
#include <cstdio>
int main() {
  plot::TChart chart;
  plot::TLineSeries line;
  for (int i = 0; i < 3; ++i) line.AddPointXY(i, i * i);
  line.SetParentChart(&chart);
  std::printf("%d %g\n", static_cast<int>(line.Count()), line.YValues().HighestValue());
  chart.RemoveAllSeries();
}
CPP
} >"$work/plain/main.cpp"
if configure_and_build "$work/plain" "$work/plain/build"; then
  grep -q 'qt6' "$work/plain/build/compile_commands.json" && fail "QuorvelPlot::plot brings Qt onto the include path"
  said=$("$work/plain/build/plain_plot")
  [ "$said" = "3 4" ] || fail "the plain program says '$said', not '3 4'"
else
  tail -n 30 "$work/plain/build.log"
  fail "plot's headers do not build without Qt"
fi

if [ $failures -gt 0 ]; then
  echo "$failures failure(s); the prefix is $prefix"
  exit 1
fi
echo "installed into $prefix: programs, desktop data, manual pages, completion and the QuorvelPlot package all check out"
