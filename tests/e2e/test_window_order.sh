# Each pass opens the 3D window, then the 2D window, one at a time, each
# with its own GL context.
source "$(dirname "$0")/lib.sh"

trace_program loop3.trace -batch -test -loop 3 >/dev/null 2>&1
expect_eq "three passes: 3D then 2D each time" DSDSDS "$(window_kinds_of_trace loop3.trace)"

trace_program loop0.trace -batch -test -loop 0 >/dev/null 2>&1
expect_eq "a loop count of 0 runs one pass" DS "$(window_kinds_of_trace loop0.trace)"

trace_program status.trace -batch -statusonly -loop 4 >/dev/null 2>&1
expect_eq "status-only mode runs one pass" DS "$(window_kinds_of_trace status.trace)"

# Every context is made current before its window draws and destroyed
# before the next window opens.
apitrace dump loop3.trace 2>/dev/null | awk '
  /glXCreateContext/ { if (open) bad = 1; open = 1 }
  /glXDestroyContext/ { open = 0 }
  END { exit (bad || open) }' || fail "two GL contexts lived at once"
echo "ok - one window at a time"

# The 3D window draws in perspective at the full client area.
apitrace dump loop0.trace >loop0.txt 2>/dev/null
grep -q 'glViewport(x = 0, y = 0, width = 512, height = 384)$' loop0.txt ||
  fail "the 3D window sets its 512 x 384 viewport"
echo "ok - 3D viewport"
