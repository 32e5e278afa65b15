#!/usr/bin/env bash
# Checks that a program's manual page (and, when given, its bash completion)
# covers everything its real --help output lists, so whoever adds an option
# or a command documents it. Read from --help:
#   options   every --long or -x option anywhere in the text;
#   commands  the first word of each entry under "commands:";
#   words     the bare words of a command's synopsis ("show" in
#             "open FILE show ...") and the values of alternatives
#             ("temperature|histogram").
# The manual page is rendered with groff (no warnings allowed) and each of
# them must appear in its text as a word. The completion is sourced and run:
# each synopsis is walked word by word and, at each position, the completion
# must offer the option, command or value the synopsis puts there.
#
#   check_docs_cover_help.sh PROGRAM MAN_PAGE [COMPLETION]
#   check_docs_cover_help.sh --self-test PROGRAM MAN_PAGE COMPLETION
#       (plants gaps in copies of the three and expects each caught)
set -uo pipefail

failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

# --- reading the help -------------------------------------------------------

help_text() { QT_QPA_PLATFORM=offscreen "$1" --help 2>/dev/null; }

# The options anywhere in the help, one a line.
help_options() {
  grep -oE -- '(^|[^A-Za-z0-9-])--?[A-Za-z][A-Za-z0-9-]*' <<<"$1" | sed -E 's/^[^-]*//' | sort -u
}

# The synopses, one a line: the usage lines (program name dropped) and each
# entry under "commands:" with its continuation lines (those that go on with
# "[", "(" or "-"), up to the description.
help_synopses() {
  awk '
    function flush() { if (entry != "") print entry; entry = "" }
    /^[Uu]sage:/ { sub(/^[Uu]sage:[ \t]*[^ \t]+[ \t]*/, ""); print; usage = 1; next }
    usage && /^[ \t]+[^ \t]/ && $1 == prog { sub(/^[ \t]*[^ \t]+[ \t]*/, ""); print; next }
    { usage = 0 }
    /^[Cc]ommands:/ { incommands = 1; column = 0; next }
    # The description column: where the text goes on after the first entry
    # that has its description on its own line.
    incommands && /^  [a-z]/ && column == 0 && match($0, /^  [^ ].*[^ ]   +[^ ]/) { column = RLENGTH - 1 }
    incommands && /^$/ { flush(); incommands = 0; next }
    incommands && /^  [a-z]/ {
      flush()
      line = substr($0, 3)
      sub(/   .*$/, "", line)  # the description starts after a run of spaces
      entry = line
      next
    }
    incommands && entry != "" && /^ +[-\[(]/ && match($0, /[^ ]/) - 1 < column {
      line = $0; sub(/^ +/, "", line); sub(/   .*$/, "", line)
      entry = entry " " line
      next
    }
    END { flush() }
  ' prog="$2" <<<"$1"
}

# --- the manual page ----------------------------------------------------------

check_man_page() {  # PAGE WORD...
  local page=$1 text warnings word
  shift
  warnings=$(groff -man -ww -z -T utf8 "$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: groff warns: $warnings"
  # Plain ASCII on one long line per paragraph, so no option is split.
  text=$(groff -man -T ascii -rLL=250n -P -cbou "$page" 2>/dev/null)
  [ -n "$text" ] || { fail "$page: renders to nothing"; return; }
  # Words are letters, digits and hyphens only, so they are safe in a regex.
  for word in "$@"; do
    [[ $text =~ (^|[^A-Za-z0-9_])$word([^A-Za-z0-9_]|$) ]] || fail "$page: does not mention $word"
  done
}

# --- the completion -----------------------------------------------------------

completion_function=
load_completion() {  # FILE PROGRAM
  # shellcheck disable=SC1090
  source "$1" || { fail "$1: does not load"; return 1; }
  completion_function=$(complete -p "$2" 2>/dev/null | sed -nE 's/.* -F ([^ ]+) .*/\1/p')
  [ -n "$completion_function" ] || { fail "$1: registers no completion function for $2"; return 1; }
}

# Runs the completion on the words given (the last one is the word being
# completed), as bash would; what it offers is left in COMPREPLY.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  "$completion_function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
}

expect_offered() {  # WANTED WORDS...
  local wanted=$1 candidate
  shift
  complete_words "$@"
  for candidate in "${COMPREPLY[@]}"; do
    [ "$candidate" = "$wanted" ] && return
  done
  fail "completion: '${*}<TAB>' does not offer $wanted"
}

declare -A option_offered
# Walks one synopsis from the words before it (the program, and the command
# for a command's entry), checking at each position that the completion
# offers what the synopsis puts there.
walk_synopsis() {  # SYNOPSIS PREFIX...
  local synopsis=$1
  shift
  local -a prefix=("$@")
  local mark=${#prefix[@]} token word
  local -a alternatives
  for token in $synopsis; do
    [[ $token == [\[\(]* ]] && mark=${#prefix[@]}
    token=${token//[\[\]\(\)]/}
    token=${token%...}
    [ -n "$token" ] || continue
    if [ "$token" = "|" ]; then
      prefix=("${prefix[@]:0:mark}")
      continue
    fi
    [ "$token" = COMMAND ] && return  # the commands are walked on their own
    IFS='|' read -ra alternatives <<<"$token"
    for word in "${alternatives[@]}"; do
      [ -n "$word" ] || continue
      if [[ $word == -* ]]; then
        expect_offered "$word" "${prefix[@]}" "-"
        option_offered[$word]=1
      elif [[ $word =~ [A-Z] ]]; then
        continue  # a placeholder: PATH, N, FILE, WxH
      else
        expect_offered "$word" "${prefix[@]}" ""
      fi
    done
    word=${alternatives[0]}
    [[ $word =~ [A-Z] && $word != -* ]] && word=x
    prefix+=("$word")
  done
}

check_completion() {  # FILE PROGRAM HELP
  local file=$1 program=$2 help=$3 synopsis first option
  load_completion "$file" "$program" || return
  option_offered=()
  while IFS= read -r synopsis; do
    [ -n "$synopsis" ] || continue
    first=${synopsis%% *}
    if [[ $first == [a-z]* ]]; then
      expect_offered "$first" "$program" ""
      walk_synopsis "${synopsis#"$first"}" "$program" "$first"
    else
      walk_synopsis "$synopsis" "$program"
    fi
  done < <(help_synopses "$help" "$program")
  # Options named only in the help's prose belong to the program as a whole.
  while IFS= read -r option; do
    [ -n "${option_offered[$option]:-}" ] || expect_offered "$option" "$program" "-"
  done < <(help_options "$help")
}

# --- putting it together --------------------------------------------------------

check_program() {  # PROGRAM MAN_PAGE [COMPLETION]
  local binary=$1 page=$2 completion=${3:-} program help synopsis
  program=$(basename "$binary")
  help=$(help_text "$binary")
  [ -n "$help" ] || { fail "$program --help prints nothing"; return; }
  local -a words
  mapfile -t words < <(
    help_options "$help"
    help_synopses "$help" "$program" | tr ' ' '\n' | tr -d '[]()' | tr '|' '\n' |
      grep -E '^[a-z][a-z0-9-]*$'
  )
  [ ${#words[@]} -gt 0 ] || { fail "$program --help lists nothing to check"; return; }
  check_man_page "$page" "${words[@]}"
  [ -z "$completion" ] || check_completion "$completion" "$program" "$help"
}

if [ "${1:-}" = "--self-test" ]; then
  shift
  binary=$1 page=$2 completion=$3
  program=$(basename "$binary")
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  check_program "$binary" "$page" "$completion" >/dev/null
  [ $failures -eq 0 ] || { echo "self-test: the real files do not pass"; exit 1; }
  mkdir -p "$tmp/bin"
  expect_caught() {  # WHAT BINARY PAGE COMPLETION
    failures=0
    check_program "$2" "$3" "$4" >/dev/null
    [ $failures -gt 0 ] || { echo "self-test: not caught: $1"; exit 1; }
  }
  # A new command and a new export option in the help, documented nowhere.
  {
    echo '#!/usr/bin/env bash'
    printf '"%s" "$@" | sed -e "s/^commands:\$/&\\\\n  watch             follow the recorder live/"' "$binary"
    printf ' -e "s/ \\\\[--size WxH\\\\]/& [--dither N]/"\n'
  } >"$tmp/bin/$program"
  chmod +x "$tmp/bin/$program"
  planted=$(help_text "$tmp/bin/$program")
  if ! grep -q '^  watch' <<<"$planted" || ! grep -qF -- '[--dither N]' <<<"$planted"; then
    echo "self-test: planting into the help failed"
    exit 1
  fi
  expect_caught "an undocumented command and option" "$tmp/bin/$program" "$page" "$completion"
  # A manual page that never got round to an option.
  sed 's/\\-\\-size//g' "$page" >"$tmp/page.1"
  expect_caught "--size missing from the manual page" "$binary" "$tmp/page.1" "$completion"
  # A completion that no longer offers a value or an action.
  sed 's/temperature histogram/temperature/' "$completion" >"$tmp/completion-value"
  expect_caught "histogram not offered after --chart" "$binary" "$page" "$tmp/completion-value"
  sed "s/'show save export print'/'show save export'/" "$completion" >"$tmp/completion-action"
  expect_caught "print not offered after open FILE" "$binary" "$page" "$tmp/completion-action"
  echo "self-test: every planted gap was caught"
  exit 0
fi

[ $# -ge 2 ] || { echo "usage: $0 PROGRAM MAN_PAGE [COMPLETION]" >&2; exit 2; }
check_program "$@"
if [ $failures -gt 0 ]; then
  echo "$failures gap(s) between $(basename "$1") --help and its documentation"
  exit 1
fi
echo "$(basename "$1"): the manual page${3:+ and the completion} cover every option and command of --help"
