# The screen saver is off while tests run and back on every way out.
source "$(dirname "$0")/lib.sh"

initial=$(screen_saver_timeout)
check "the server starts with the saver on ($initial s)" test "$initial" -gt 0

run_batch -test -loop 2
expect_eq "normal end: run succeeded" 0 "$STATUS"
expect_eq "normal end: timeout restored" "$initial" "$(screen_saver_timeout)"

for signal in TERM INT; do
  "$PROGRAM" -batch -test -loop -1 >out.txt 2>err.txt &
  pid=$!
  BACKGROUND_PIDS+=("$pid")
  for _ in $(seq 100); do
    [ "$(screen_saver_timeout)" = 0 ] && break
    sleep 0.05
  done
  expect_eq "endless run ($signal): saver off while running" 0 "$(screen_saver_timeout)"
  kill -s "$signal" "$pid"
  wait "$pid" 2>/dev/null || true
  expect_eq "SIG$signal: timeout restored" "$initial" "$(screen_saver_timeout)"
done

STATUS=0
TARVELIN_GL_VISUAL=none "$PROGRAM" -batch -test >out.txt 2>err.txt || STATUS=$?
expect_eq "window failure: run failed" 1 "$STATUS"
expect_eq "window failure: timeout restored" "$initial" "$(screen_saver_timeout)"

