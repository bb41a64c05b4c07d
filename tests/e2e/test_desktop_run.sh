# A desktop run as a user starts it: the panel, START, the passes, and the
# report handed to the desktop's opener as one argument, never to a shell.
source "$(dirname "$0")/lib.sh"

install_fake_opener

write_pass_over_all none.def
expect_eq "the pass definition names all tests" $(($(test_count) + 1)) "$(wc -l <none.def)"

start_desktop_run() {
  STATUS=0
  PATH="$WORK/bin:$PATH" "$PROGRAM" "$@" >out.txt 2>err.txt &
  RUN_PID=$!
  BACKGROUND_PIDS+=("$RUN_PID")
  PANEL=$(wait_for_window '^Tarvelin version 1\.5\.1$') || fail "the start panel appears"
}

press_start() {
  retry_x xdotool mousemove --window "$PANEL" 256 300 click 1
}

here=$(realpath "$WORK")
start_desktop_run -def none.def -f 'x;touch y'
press_start
close_results_window
wait "$RUN_PID" || STATUS=$?
expect_eq "a completed desktop run exits with 1" 1 "$STATUS"
for _ in $(seq 50); do [ -s opener.log ] && break; sleep 0.1; done
expect_eq "the opener got the report's absolute path as one argument" "$here/x;touch y" \
  "$(cat opener.log)"
check "no shell ran the name" test ! -e y

# A name that begins with "-" cannot pass for one of the opener's options.
rm -f opener.log
start_desktop_run -def none.def -f -report.tvl
press_start
close_results_window
wait "$RUN_PID" || STATUS=$?
for _ in $(seq 50); do [ -s opener.log ] && break; sleep 0.1; done
expect_eq "a name beginning with - reaches the opener as a path" "$here/-report.tvl" \
  "$(cat opener.log)"

# A report that cannot be written where asked is opened where it went.
rm -f opener.log
mkdir -p tmp
TMPDIR=$WORK/tmp start_desktop_run -def none.def -f nowhere/r.tvl
press_start
close_results_window
wait "$RUN_PID" || STATUS=$?
for _ in $(seq 50); do [ -s opener.log ] && break; sleep 0.1; done
check "the opener got the copy in the temporary folder" \
  grep -qx "$here/tmp/tarvelin-report-......\.tvl" opener.log
check "which holds the report" grep -q '^# result : 100.0 or higher is best' "$(cat opener.log)"

# Escape does not close the panel; closing it (as a window manager's close
# box asks) instead of pressing START runs nothing.
rm -f opener.log
start_desktop_run -def none.def
retry_x xdotool mousemove --window "$PANEL" 400 100 key Escape
sleep 0.5
check "Escape leaves the panel open" kill -0 "$RUN_PID"
retry_x python3 "$SOURCE_DIR/tests/e2e/x_client.py" close "$PANEL"
wait "$RUN_PID" || STATUS=$?
expect_eq "closing the panel exits with 1" 1 "$STATUS"
check "nothing was opened" test ! -e opener.log
check "nothing was written" test ! -e result.tvl
