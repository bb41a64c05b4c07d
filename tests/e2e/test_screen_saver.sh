# The screen saver cannot start while the tests run, and the user's own
# settings are never touched: the run suspends the saver through the X
# screen-saver extension, which the server undoes when the program's
# connection ends, whichever way it ends. With a saver timeout of 1 s, a
# saver that is free to start is "on" after 2 s without input.
source "$(dirname "$0")/lib.sh"

# The server puts its defaults back when its last client leaves: a client of
# the test's own keeps it from doing so between runs. It must be connected
# before the first setting is made, or a reset may still undo that setting;
# it prints the root window's properties once it is.
xprop -root -spy >spy.txt 2>/dev/null &
BACKGROUND_PIDS+=("$!")
for _ in $(seq 100); do
  [ -s spy.txt ] && break
  sleep 0.05
done
[ -s spy.txt ] || fail "the test's own X client connected"

saver_state() { retry_x python3 "$SOURCE_DIR/tests/e2e/x_client.py" saver-state; }
# The state after the server has been left without input for 2 s.
state_after_idle() {
  retry_x xset s reset
  sleep 2
  saver_state
}
initial=$(screen_saver_timeout)
restore_saver() { xset s "$initial" 2>/dev/null || true; }
trap 'restore_saver; cleanup_test' EXIT
retry_x xset s 1
expect_eq "the test's own saver timeout is set" 1 "$(screen_saver_timeout)"
expect_eq "with no run the saver starts after its timeout" on "$(state_after_idle)"

# Starts an endless test-loop run in the background; its pid goes to $RUN.
start_run() {  # start_run NAME
  "$PROGRAM" -batch -test -loop -1 >"$1.out" 2>"$1.err" &
  RUN=$!
  BACKGROUND_PIDS+=("$RUN")
  for _ in $(seq 100); do
    grep -q '^Tarvelin : ' "$1.out" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "the run $1 started its tests"
}
stop_run() {  # stop_run PID SIGNAL
  kill -s "$2" "$1"
  wait "$1" 2>/dev/null || true
}

run_batch -test
expect_eq "normal end: the run succeeded" 0 "$STATUS"
expect_eq "normal end: the saver starts again" on "$(state_after_idle)"
expect_eq "normal end: the timeout is untouched" 1 "$(screen_saver_timeout)"

for signal in TERM KILL HUP; do
  start_run "$signal"
  expect_eq "SIG$signal: during the run the saver does not start" off "$(state_after_idle)"
  expect_eq "SIG$signal: during the run the timeout is untouched" 1 "$(screen_saver_timeout)"
  stop_run "$RUN" "$signal"
  expect_eq "SIG$signal: afterwards the saver starts again" on "$(state_after_idle)"
done

# Two runs that overlap: the first to end leaves the other's suspension alone.
start_run first
first=$RUN
start_run second
second=$RUN
stop_run "$first" TERM
expect_eq "overlapping runs: the saver stays suspended for the second" off "$(state_after_idle)"
stop_run "$second" TERM
expect_eq "overlapping runs: afterwards the saver starts again" on "$(state_after_idle)"
expect_eq "overlapping runs: the timeout is untouched" 1 "$(screen_saver_timeout)"

STATUS=0
TARVELIN_GL_VISUAL=none "$PROGRAM" -batch -test >out.txt 2>err.txt || STATUS=$?
expect_eq "window failure: the run failed" 1 "$STATUS"
expect_eq "window failure: the saver starts again" on "$(state_after_idle)"
