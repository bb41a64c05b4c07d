# The start panel driven as a user drives it: boxes ticked and unticked,
# text typed into the fields, START pressed or the panel closed. What the
# panel shows is read from its pixels; what it set, from the run after it.
source "$(dirname "$0")/lib.sh"

install_fake_opener

write_pass_over_all none.def

BOX_TOP=(10 30 50 70 90)  # the five boxes, top to bottom
GREY="192,192,192"

snap() {  # snap FILE X Y WIDTH HEIGHT: a piece of the panel as it shows now
  retry_x import -silent -window "$PANEL" -crop "$4x$5+$2+$3" +repage "$1"
}

pixel() {  # pixel X Y: the panel's colour there as R,G,B
  snap pixel.png "$1" "$2" 1 1 || return 1
  convert pixel.png -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
not() { ! "$@"; }

looks_like() {  # looks_like REFERENCE X Y WIDTH HEIGHT: that piece shows as in REFERENCE
  snap now.png "$2" "$3" "$4" "$5" && same_picture "$1" now.png
}

# A reference piece, taken once it has stopped changing.
snap_settled() {  # snap_settled FILE X Y WIDTH HEIGHT
  snap "$1" "$2" "$3" "$4" "$5" || fail "a picture of the panel can be taken"
  for _ in $(seq 20); do
    sleep 0.1
    looks_like "$@" && return 0
    [ -s now.png ] && cp now.png "$1"
  done
}

# Gives a loaded machine two seconds to show the outcome of the last action.
settles() {  # settles COMMAND...
  for _ in $(seq 20); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

launch() {  # launch COMMAND...: starts the program; RUN_PID, PANEL or no PANEL
  PATH="$WORK/bin:$PATH" "$@" >out.txt 2>err.txt &
  RUN_PID=$!
  BACKGROUND_PIDS+=("$RUN_PID")
  PANEL=""
  for _ in $(seq 100); do
    PANEL=$(xdotool search --onlyvisible --name '^Tarvelin version 1\.5\.1$' 2>/dev/null | head -n1 || true)
    [ -n "$PANEL" ] && return 0
    kill -0 "$RUN_PID" 2>/dev/null || return 0
    sleep 0.1
  done
}

# The panel is up once its background is painted.
start_panel() {  # start_panel [trace FILE] OPTIONS...
  local tracer=()
  if [ "$1" = trace ]; then
    apitrace_command "$2"
    tracer=("${APITRACE[@]}")
    shift 2
  fi
  if xdotool search --name '^Tarvelin version' >/dev/null 2>&1; then
    fail "no other panel is open on this display"
  fi
  for _ in 1 2 3; do
    launch "${tracer[@]}" "$PROGRAM" "$@"
    [ -n "$PANEL" ] && break
    wait "$RUN_PID" || true
    grep -q 'cannot open the X display' err.txt || break
  done
  [ -n "$PANEL" ] || fail "the start panel appears (the program said: $(tail -n 5 err.txt))"
  # Under the tracer the program is a child of RUN_PID; ending it first lets
  # the tracer end by itself.
  BACKGROUND_PIDS=("$(retry_x xdotool getwindowpid "$PANEL")" "${BACKGROUND_PIDS[@]}")
  for _ in $(seq 50); do [ "$(pixel 500 215)" = "$GREY" ] && return 0; sleep 0.1; done
  fail "the start panel is painted"
}

finish_run() {  # waits for the program; its exit code goes to $STATUS
  STATUS=0
  for _ in $(seq 300); do kill -0 "$RUN_PID" 2>/dev/null || break; sleep 0.1; done
  wait "$RUN_PID" || STATUS=$?
  # A sanitizer's report would end the program with the same exit code.
  if grep -q 'Sanitizer\|runtime error' err.txt; then fail "the program reported: $(head -n 5 err.txt)"; fi
}

click_at() {
  retry_x xdotool mousemove --window "$PANEL" "$1" "$2" click 1 || fail "a click reaches the panel"
  sleep 0.1
}
keys() { retry_x xdotool key "$@" || fail "keys reach the panel"; }
type_text() { retry_x xdotool type --delay 20 "$1" || fail "typing reaches the panel"; }
click_box() { click_at 100 $((BOX_TOP[$1] + 10)); }
press_start() { click_at 256 300; }

# Replaces the text of a field (loop, result, pass) with what is typed.
LOOP_AT=(105 131)
RESULT_AT=(300 156)
PASS_AT=(300 181)
type_into() {  # type_into X Y TEXT
  click_at "$1" "$2"
  keys ctrl+a BackSpace
  [ -z "$3" ] || type_text "$3"
  sleep 0.1
}
leave_field() {
  keys Tab
  sleep 0.1
}

# The check marks as 0 and 1 from top to bottom, told by comparing the
# middle of each square with that of a box known to be ticked.
marks() {
  local text=""
  for box in 0 1 2 3 4; do
    snap "mark$box.png" 14 $((BOX_TOP[box] + 5)) 10 10
    if same_picture "mark$box.png" ticked.png; then text+=1; else text+=0; fi
  done
  echo "$text"
}

warning_is() {  # warning_is shown|hidden: the line at 20, 200 has text or is plain
  snap warning.png 20 200 480 18 || return 1
  local colours
  colours=$(convert warning.png -format %k info:)
  if [ "$1" = shown ]; then [ "$colours" != 1 ]; else [ "$colours" = 1 ]; fi
}

marks_are() { [ "$(marks)" = "$1" ]; }
expect_marks() {  # expect_marks DESCRIPTION EXPECTED
  settles marks_are "$2" || true
  expect_eq "$1" "$2" "$(marks)"
}

logo_drawn() {
  local colour
  colour=$(pixel 440 72) && [ -n "$colour" ] && [ "$colour" != "$GREY" ]
}

header_lines() { grep '^#   ' "$1" || true; }

# --- A panel opened without a pass definition file in the folder.
start_panel trace three.trace
snap ticked.png 14 $((BOX_TOP[1] + 5)) 10 10  # "Auto check available function"
snap unticked.png 14 $((BOX_TOP[0] + 5)) 10 10
check "ticked and unticked marks look different" not same_picture ticked.png unticked.png
expect_marks "the marks show the default settings" 01001
check "the missing pass.def is warned about" settles warning_is shown
check "the logo is drawn at 376, 8" logo_drawn
snap_settled result_default.png 100 145 402 22

click_box 2
expect_marks "the status box unticks quarter, auto check and test loop" 00101
click_box 3
expect_marks "the test-loop box unticks the status box and brings back nothing" 00011
click_box 3
expect_marks "a ticked box unticks itself only" 00001
click_box 0
click_box 1
expect_marks "quarter and auto check ticked again" 11001

type_into "${LOOP_AT[@]}" 3
leave_field
snap_settled loop_three.png 65 120 80 22
click_at "${LOOP_AT[@]}"
keys End
type_text x
leave_field
check "a letter typed into the loop field is refused" settles looks_like loop_three.png 65 120 80 22

# Each check starts from the other state, so that a slow repaint cannot
# pass for the outcome.
type_into "${PASS_AT[@]}" nosuch.def
check "a pass file that cannot be read is warned about" settles warning_is shown
type_into "${PASS_AT[@]}" ""
check "an empty pass field shows no warning" settles warning_is hidden
type_into "${PASS_AT[@]}" nosuch.def
check "the warning comes back with the next keystroke" settles warning_is shown
type_into "${PASS_AT[@]}" none.def
check "typing a name that exists removes the warning" settles warning_is hidden

type_into "${RESULT_AT[@]}" mine.tvl
press_start
close_results_window
finish_run
expect_eq "a run started from the panel exits with 1" 1 "$STATUS"
check "the report went to the typed name" test -s mine.tvl
check "and nowhere else" test ! -e result.tvl
expect_eq "the report's header shows the settings" \
  "$(printf '#   quarter mode\n#   3 loops\n#   function auto check mode\n#   swap interval: set by the driver (no control offered)')" \
  "$(header_lines mine.tvl)"
check "the run measured (not status only)" contains mine.tvl '# result'
expect_eq "three passes ran, 3D then 2D each" DSDSDS "$(window_kinds_of_trace three.trace)"
for _ in $(seq 50); do [ -s opener.log ] && break; sleep 0.1; done
expect_eq "the report was opened by its absolute path" "$(realpath "$WORK")/mine.tvl" "$(cat opener.log)"
rm -f mine.tvl opener.log

# --- The loop field tidies digits, an empty field runs one pass, an empty
# result field comes back as the default.
start_panel trace one.trace -def none.def -quarter -f other.tvl
expect_marks "the marks show the command line" 11001
type_into "${LOOP_AT[@]}" 7
leave_field
snap_settled loop_7.png 65 120 80 22
type_into "${LOOP_AT[@]}" 007
leave_field
check '"007" shows as 7 once the focus has left' settles looks_like loop_7.png 65 120 80 22
type_into "${LOOP_AT[@]}" ""
leave_field
type_into "${RESULT_AT[@]}" ""
leave_field
check "an emptied result field shows result.tvl again" settles looks_like result_default.png 100 145 402 22
click_box 2
expect_marks "the status box unticks the others" 00101
press_start
finish_run
expect_eq "the status run exits with 1" 1 "$STATUS"
check "the report went to result.tvl" test -s result.tvl
check "not to the name of the command line" test ! -e other.tvl
expect_eq "no quarter, no loop count, no auto check in the header" \
  "#   swap interval: set by the driver (no control offered)" "$(header_lines result.tvl)"
check "a status-only report has no results" not contains result.tvl '# result'
expect_eq "an empty loop field runs one pass" DS "$(window_kinds_of_trace one.trace)"
rm -f result.tvl opener.log

# --- The test-loop box: the run ends with a message and writes nothing.
start_panel -def none.def
click_box 3
expect_marks "the test-loop box is ticked" 01011
press_start
BOX=$(wait_for_window '^tarvelin$' 30) || fail "the completion message appears"
retry_x xdotool mousemove --window "$BOX" 10 10 key Return
finish_run
expect_eq "the test loop exits with 1" 1 "$STATUS"
check "the test loop writes no report" test ! -e result.tvl
check "and opens nothing" test ! -e opener.log

# --- An endless count from the command line, then the panel closed.
start_panel -def none.def -loop -1
snap_settled loop_endless.png 65 120 80 22
click_at "${LOOP_AT[@]}"
keys End
type_text x
leave_field
check '"-1" stays and a letter after it is refused' settles looks_like loop_endless.png 65 120 80 22
type_into "${RESULT_AT[@]}" closed.tvl
retry_x python3 "$SOURCE_DIR/tests/e2e/x_client.py" close "$PANEL"
finish_run
expect_eq "closing the panel exits with 1" 1 "$STATUS"
check "nothing was written" test ! -e closed.tvl -a ! -e result.tvl
check "nothing was opened" test ! -e opener.log
