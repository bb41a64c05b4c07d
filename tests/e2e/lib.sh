# Shared helpers of the end-to-end tests. Each test script is run as
#   bash tests/e2e/test_NAME.sh PATH_TO_PROGRAM
# with DISPLAY naming a running X server, or with E2E_OWN_X_SERVER=1 to start
# an Xvfb of its own (as CTest runs them, side by side); it works in a fresh
# temporary folder, so reports land there.
set -euo pipefail

PROGRAM=$1
SOURCE_DIR=${TARVELIN_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$SOURCE_DIR/scripts/common.sh"
WORK=$(mktemp -d)
trap 'cleanup_test' EXIT
cd "$WORK"
# Desktop runs keep their results in the history of runs; the tests' go
# into their own folder, never the user's.
export XDG_DATA_HOME=$WORK/data

BACKGROUND_PIDS=()
FAILED_CHECKS=0
# A script whose checks failed ends with status 1 however far it got.
cleanup_test() {
  for pid in "${BACKGROUND_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_xvfb
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"
  if [ "$FAILED_CHECKS" -gt 0 ]; then
    echo "FAIL: $FAILED_CHECKS check(s) failed" >&2
    exit 1
  fi
}

# A step the rest of the script cannot do without: the script stops here.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A check that fails is told and counted, and the script goes on, so that
# one run shows every fault it meets; cleanup_test fails the script.
failed_check() {
  echo "FAIL: $*" >&2
  FAILED_CHECKS=$((FAILED_CHECKS + 1))
}

[ "${E2E_OWN_X_SERVER:-}" != 1 ] || start_xvfb || fail "an X server of the script's own starts"

check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok - $what"; else failed_check "$what"; fi
}

expect_eq() {  # expect_eq DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok - $1"; else failed_check "$1: expected [$2], got [$3]"; fi
}

contains() { grep -qF -- "$2" "$1"; }

# A busy X server now and then refuses a new connection; the X tools the
# tests use are tried again a few times before a test gives up.
retry_x() {
  local attempt
  for attempt in 1 2 3 4 5; do
    "$@" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

# An xdg-open of our own, first on PATH, that only writes the arguments it
# was given to $OPENER_LOG, one a line.
install_fake_opener() {
  mkdir -p "$WORK/bin"
  cat >"$WORK/bin/xdg-open" <<'OPENER'
#!/bin/sh
for arg in "$@"; do printf '%s\n' "$arg"; done >"$OPENER_LOG"
OPENER
  chmod +x "$WORK/bin/xdg-open"
  export OPENER_LOG=$WORK/opener.log
}

# What the tests know of the catalogue comes from the catalogue itself, so
# that a test added to it needs no edit here: E2E_LISTING (tests/e2e/
# catalogue_listing.cpp, built beside the program) prints each test as
#   keyword|group|title|kernel|count|logic_op|probed|stage|polygon_mode|state
# and the scripts choose tests by these fields, not by keyword or place.
# tests_in_run_order gives the lines in the order a run takes them: the 3D
# window's, then the 2D window's. The helpers below call it often, so the
# listing runs once a script.
tests_in_run_order() {
  local order=$WORK/.run-order
  if [ ! -s "$order" ]; then
    local list
    list=$(tests_in_catalogue_order)
    { grep '^[^|]*|3D|' <<<"$list" && grep '^[^|]*|2D|' <<<"$list"; } >"$order"
  fi
  cat "$order"
}
# The lines in the listing's own order, the catalogue's: the order -only
# runs in and the result files list the tests in.
tests_in_catalogue_order() {
  local catalogue=$WORK/.catalogue-order
  if [ ! -s "$catalogue" ]; then
    local listing=${E2E_LISTING:-$(dirname "$PROGRAM")/tests/catalogue_listing}
    [ -x "$listing" ] || fail "the catalogue listing $listing is built"
    "$listing" >"$catalogue" || fail "the catalogue listing $listing runs"
  fi
  cat "$catalogue"
}
# The listing's fields, in its order, and choosing by them.
LISTING_FIELDS=(keyword group title kernel count logic_op probed stage polygon_mode state)
column_of() {  # column_of FIELD: its column number, counted from 1
  local i
  for i in "${!LISTING_FIELDS[@]}"; do
    [ "${LISTING_FIELDS[$i]}" != "$1" ] || { echo $((i + 1)); return 0; }
  done
  echo "no field $1 in the catalogue listing" >&2
  return 1
}
tests_where() {  # tests_where FIELD VALUE...: the lines whose FIELD is one of the VALUEs, in run order
  local column
  column=$(column_of "$1") || fail "tests_where $*"
  shift
  tests_in_run_order | awk -F'|' -v column="$column" -v values="$*" '
    BEGIN { split(values, list, " "); for (i in list) wanted[list[i]] = 1 }
    $column in wanted'
}
field() {  # field FIELD: that field of each line read on stdin
  local column
  column=$(column_of "$1") || fail "field $*"
  awk -F'|' -v column="$column" '{ print $column }'
}
tests_matching() {  # tests_matching FIELD=VALUE...: the lines with all those values, in run order
  local rule="1" condition column
  for condition in "$@"; do
    column=$(column_of "${condition%%=*}") || fail "tests_matching $*"
    rule+=" && \$$column == \"${condition#*=}\""
  done
  tests_in_run_order | awk -F'|' "$rule"
}
first_test() {  # first_test FIELD=VALUE...: the keyword of the first such test in run order
  local keyword
  keyword=$(tests_matching "$@" | head -n1 | field keyword)
  [ -n "$keyword" ] || fail "a test of the catalogue where $*"
  echo "$keyword"
}
line_of() { tests_in_run_order | awk -F'|' -v keyword="$1" '$1 == keyword'; }  # line_of KEYWORD
title_of() { line_of "$1" | field title; }  # title_of KEYWORD
# The keywords read on stdin, in catalogue order.
in_catalogue_order() {
  local wanted
  wanted=$(cat)
  tests_in_catalogue_order | field keyword | grep -xF -e "$wanted" || true
}
# The keywords read on stdin, in run order.
in_run_order() {
  local wanted
  wanted=$(cat)
  tests_in_run_order | field keyword | grep -xF -e "$wanted" || true
}
# The label the report gives test KEYWORD, as recorded: the report lists
# the tests in run order, one label each.
report_label() {  # report_label KEYWORD
  local at
  at=$(tests_in_run_order | field keyword | grep -nxF "$1" | cut -d: -f1)
  [ -n "$at" ] || fail "no test $1 in the catalogue"
  sed -n "${at}p" "$SOURCE_DIR/tests/e2e/expected/report_labels.txt"
}
test_count() { tests_in_run_order | grep -c "^[^|]*|${1:-[23]D}|"; }  # test_count [GROUP]
titles() {  # titles [GROUP]: the titles in run order
  tests_in_run_order | awk -F'|' -v group="${1:-}" 'group == "" || $2 == group {print $3}'
}
# The progress title a run of every test shows for test KEYWORD.
progress_title() {  # progress_title KEYWORD
  tests_in_run_order | awk -F'|' -v keyword="$1" '{ n++ } $1 == keyword { title = $3; at = n }
    END { printf "Tarvelin - %s  [%d/%d]\n", title, at, n }'
}

# Pass-definition lines that pass over the tests of GROUP (2D or 3D; every
# test without one), by the keywords -list prints.
pass_lines() {  # pass_lines [GROUP]
  tests_in_run_order | awk -F'|' -v group="${1:-}" 'group == "" || $2 == group {print $1 " pass"}'
}

# A pass definition that passes over every test, so that a run is quick.
write_pass_over_all() {  # write_pass_over_all FILE
  {
    echo enable
    pass_lines
  } >"$1"
}

# The version the program says it is, e.g. "1.5.1".
program_version() { "$PROGRAM" -version | sed 's/^Tarvelin //'; }

# Runs the program in batch mode; its exit code goes to $STATUS, its
# outputs to out.txt and err.txt.
run_batch() {
  STATUS=0
  "$PROGRAM" -batch "$@" >out.txt 2>err.txt || STATUS=$?
}

# Waits until a window whose title matches appears; prints its id.
wait_for_window() {  # wait_for_window TITLE_REGEX [SECONDS]
  local limit=$(( ${2:-10} * 10 ))
  for ((i = 0; i < limit; i++)); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Closes the results window that a desktop run with scores ends in, with
# Escape as a user would.
close_results_window() {  # close_results_window [SECONDS]
  local window
  window=$(wait_for_window '^Tarvelin results$' "${1:-30}") || fail "the results window appears"
  retry_x xdotool mousemove --window "$window" 500 300 key Escape ||
    fail "Escape reaches the results window"
}

# The timeout of the X screen saver, in seconds.
screen_saver_timeout() {
  local settings
  settings=$(retry_x xset q) || return 1
  echo "$settings" | awk '/timeout:/ {print $2; exit}'
}

# Letters for the test windows in the order their GL contexts were made:
# D for a double-buffered visual, S for a single-buffered one. A visual's
# kind is learnt from the request that first returned it.
window_kinds_of_trace() {  # window_kinds_of_trace TRACE
  apitrace dump "$1" 2>/dev/null | awk '
    function visual_id(line) {
      return match(line, /visualid = [0-9]+/) ? substr(line, RSTART + 11, RLENGTH - 11) : ""
    }
    /glXChooseVisual/ && !/= NULL$/ {
      id = visual_id($0)
      if (!(id in kind)) kind[id] = ($0 ~ /GLX_DOUBLEBUFFER/) ? "D" : "S"
    }
    /glXCreateContext/ { printf "%s", kind[visual_id($0)] }
    END { print "" }'
}

# Call numbers of the calls in a trace dump whose text matches a pattern.
call_numbers() {  # call_numbers DUMP_FILE EXTENDED_REGEX
  grep -E "$2" "$1" | awk '{print $1}'
}

# One state parameter at a call of a trace, e.g. GL_LINE_WIDTH. Each call's
# state is replayed once a script.
gl_state() {  # gl_state TRACE CALL NAME
  GL_STATE_CACHE=$WORK/.gl-state python3 "$SOURCE_DIR/tests/e2e/gl_state.py" "$1" "$2" "$3" | sed 's/^[^=]*=//'
}

# Snapshots of the draw buffer right after the given calls of a trace, as
# PREFIX<CALL>.png (ten-digit call numbers).
snapshots() {  # snapshots TRACE PREFIX CALL...
  local trace=$1 prefix=$2
  shift 2
  retry_x apitrace replay --call-nos --snapshot="$(echo "$@" | tr ' ' ,)" \
    --snapshot-prefix="$prefix" "$trace" >/dev/null 2>&1
}

# Number of pixels in which two pictures differ by more than FUZZ percent.
pixels_differing() {  # pixels_differing A B [FUZZ]
  compare -metric AE -fuzz "${3:-1}%" "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# The call number of the first call matching TARGET after the first call
# matching AFTER in a trace dump.
first_call_after() {  # first_call_after DUMP_FILE AFTER_REGEX TARGET_REGEX
  awk -v after="$2" -v target="$3" '
    !found && $0 ~ after { found = 1; next }
    found && $0 ~ target { print $1; exit }' "$1"
}

# Runs the program under apitrace (see apitrace_command), recording every GL
# call into TRACE; the untraced runs are the ones that check for leaks.
trace_program() {  # trace_program TRACE ARGS...
  apitrace_command "$1"
  shift
  "${APITRACE[@]}" "$PROGRAM" "$@"
}

# Traces PROGRAM ARGS... once for every script that asks for the same run,
# and links the trace, its dump, stdout and stderr into the work folder as
# NAME.trace, NAME.txt, NAME.out and NAME.err. The runs are kept in
# E2E_TRACES (CTest gives every script the same folder; without it, the
# script's own) by the program, its build and the arguments; a script that
# asks while another makes the run waits for it. Fails the script when the
# run fails.
shared_trace() {  # shared_trace NAME ARGS...
  local name=$1 folder=${E2E_TRACES:-$WORK/.traces}
  shift
  mkdir -p "$folder"
  local prefix=$folder/$name-${GALLIUM_DRIVER:-default}-
  local base
  base=$prefix$(printf '%s\n' "$(readlink -f "$PROGRAM")" "$(stat -c %Y "$PROGRAM")" "$@" |
    sha256sum | cut -c1-16)
  (
    flock 9
    if [ ! -e "$base.done" ]; then
      # Runs of an older build of the program are of no more use.
      find "$folder" -maxdepth 1 -name "${prefix##*/}*" ! -name "${base##*/}.lock" -delete
      trace_program "$base.trace" "$@" >"$base.out" 2>"$base.err" || exit 1
      apitrace dump "$base.trace" >"$base.txt" 2>/dev/null
      touch "$base.done"
    fi
  ) 9>"$base.lock" || fail "traced run $*"
  local kind
  for kind in trace txt out err; do ln -sf "$base.$kind" "$name.$kind"; done
}
