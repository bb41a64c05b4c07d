# Off-screen drawing through EGL with no X server: the batch run, its
# report and JSON, validation, the device list and a device that does not
# exist. DISPLAY names a display that does not exist, so any X connection
# would fail; only the windowed run whose GL calls the off-screen run must
# repeat uses the real one.
source "$(dirname "$0")/lib.sh"
WINDOWED_DISPLAY=$DISPLAY
export DISPLAY=:4093

# The tests the off-screen surface cannot draw: those of the kernels that
# swap a second buffer or accumulate, each skipped with its reason.
NOT_OFF_SCREEN=$(tests_where kernel swap accumulation motion_blur)
SKIPPED=$(grep -c . <<<"$NOT_OFF_SCREEN")
skip_lines() {  # the lines a run shows for them, in run order
  while IFS='|' read -r keyword _ title kernel _; do
    if [ "$kernel" = swap ]; then
      progress_title "$keyword"
      echo "  skipped (no second buffer off-screen)"
    else
      echo "  $title: skipped (no accumulation buffer off-screen)"
    fi
  done <<<"$NOT_OFF_SCREEN"
}

# A quarter run writes the whole report; softpipe, eight times slower, shows
# the same lines in a test loop and the report's header in a status-only run.
timed=(-quarter -json r.json)
[ "${GALLIUM_DRIVER:-}" = softpipe ] && timed=(-test)
run_batch "${timed[@]}"
expect_eq "no display: the batch run completes" 0 "$STATUS"
expect_eq "and says it draws off-screen" \
  "tarvelin: no X display; the tests draw off-screen through EGL" "$(head -n 1 err.txt)"
expect_eq "all but those it cannot draw are timed" $(($(test_count) - SKIPPED)) "$(grep -c '^  [0-9.]* s$' out.txt)"
shown=(-e skipped)
for keyword in $(tests_where kernel swap | field keyword); do shown+=(-e "$(progress_title "$keyword")"); done
expect_eq "those it cannot run are skipped, each with its reason" "$(skip_lines | paste -sd'|')" \
  "$(grep -F "${shown[@]}" out.txt | paste -sd'|')"
[ "${GALLIUM_DRIVER:-}" = softpipe ] && run_batch -statusonly
place='#   off-screen \(EGL(, Mesa surfaceless| device /dev/dri/.*)\)'
check "the report's header says where it drew" grep -qE "^$place\$" result.tvl
check "under the swap interval's line, or the auto check's" \
  grep -qE -B1 "^$place\$" result.tvl
check "and that the 3D surface has one colour buffer" \
  grep -qx "# 3D testing environment (pbuffer, one colour buffer)" result.tvl
if [ -f r.json ]; then
  expect_eq "the JSON names the platform and device" "egl-surfaceless None" "$(python3 -c \
    "import json; e = json.load(open('r.json'))['environment']; print(e['platform'], e['device'])")"
  expect_eq "no 3D total counts the untimed tests" "3D total : -----" "$(grep '^3D total' result.tvl)"
  check "the summary gives the implemented 3D value instead" \
    grep -qE '^Tarvelin 3D implemented: [0-9]+\.[0-9]{2}$' out.txt
  expect_eq "every picture drawn is its reference's" "ok" "$(python3 -c '
import json
print(*{t["picture"] for t in json.load(open("r.json"))["tests"] if t["status"] == "timed"})')"
fi

STATUS=0
"$PROGRAM" -offscreen -validate pictures >out.txt 2>err.txt || STATUS=$?
expect_eq "off-screen validation passes" 0 "$STATUS"
expect_eq "with those skipped" "$(field keyword <<<"$NOT_OFF_SCREEN" | sort | paste -sd' ')" \
  "$(awk '$2 != "ok" {print $1 ":" $2}' pictures/summary.txt | sed 's/:skipped//' | sort | paste -sd' ')"
expect_eq "and its last line counts what was checked" \
  "Validation: $(($(test_count) - SKIPPED)) of $(test_count) pictures checked, 0 of them differ from their references; $SKIPPED skipped; see pictures/summary.txt" \
  "$(tail -n 1 err.txt)"

# Without the automatic check they are still skipped off-screen: the
# surface cannot draw them, and their status says so; the first animated
# test beside them is timed.
DRAWN=$(first_test kernel=animated)
run_batch -offscreen -no_autopass -quarter -only "$(field keyword <<<"$NOT_OFF_SCREEN" | paste -sd,),$DRAWN" \
  -json noauto.json
expect_eq "-no_autopass off-screen: those skipped, no 3D total" \
  "0 $(for _ in $(seq "$SKIPPED"); do printf 'skipped_off_screen '; done)timed n/a" "$STATUS $(python3 -c '
import json, sys
status = {t["keyword"]: t["status"] for t in json.load(open("noauto.json"))["tests"]}
print(*[status[k] for k in sys.argv[1:]])' $(field keyword <<<"$NOT_OFF_SCREEN") "$DRAWN") $(
  sed -n 's/^Tarvelin 3D total: //p' out.txt)"

STATUS=0
"$PROGRAM" -devices >out.txt 2>err.txt || STATUS=$?
expect_eq "-devices: exit status" 0 "$STATUS"
check "-devices lists the software device" grep -qE '^0  (software|/dev/dri/\S+)  \S' out.txt
# What a driver keeps is the driver's own, even once EGL has unloaded it.
if [ -n "${TARVELIN_DRIVERS_THAT_KEEP:-}" ]; then
  STATUS=0
  LIBGL_DRIVERS_PATH=$TARVELIN_DRIVERS_THAT_KEEP "$PROGRAM" -devices >out.txt 2>err.txt || STATUS=$?
  expect_eq "-devices with a driver that keeps memory: exit status" 0 "$STATUS"
  check "that driver was the one loaded" grep -qx 'stand-in driver: loaded' err.txt
fi
run_batch -device 99
expect_eq "-device 99: exit status" 1 "$STATUS"
check "-device 99: says why" grep -qE '^tarvelin: there is no EGL device 99; EGL lists [0-9]+ \(-devices shows them\)$' err.txt

# The same GL calls as in a window, but for the tests left out there
# and what the window system adds: FLTK's draw buffer, its swap after the
# 3D window's draw and the pixel the 2D window reads as it closes; a
# window's swap is a flush off-screen, so swaps and flushes are left out.
# (Not on softpipe,
# which reads nothing back from a single-buffered X window, so that the 2D
# checks pass tests over there.)
[ "${GALLIUM_DRIVER:-}" = softpipe ] && exit 0
{
  echo enable
  field keyword <<<"$NOT_OFF_SCREEN" | sed 's/$/ pass/'
} >not_off_screen.def
DISPLAY=$WINDOWED_DISPLAY trace_program window.trace -batch -test -nocheck -def not_off_screen.def \
  >/dev/null 2>&1
TRACE_API=egl trace_program offscreen.trace -offscreen -test -nocheck >/dev/null 2>&1
gl_calls() {
  apitrace dump "$1" 2>/dev/null >"$1.txt"
  python3 "$SOURCE_DIR/tests/e2e/call_stream.py" "$1.txt" |
    grep -vxE 'glXSwapBuffers\(\)|glFlush\(\)|glDrawBuffer\(mode = GL_BACK\)'
}
check "off-screen, each test makes the GL calls it makes in a window" \
  diff <(gl_calls window.trace | head -n -1) <(gl_calls offscreen.trace)
