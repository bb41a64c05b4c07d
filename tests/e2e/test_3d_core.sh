# The 3D window's set-up, frame loop and primitive families as a user and a
# driver see them: titles, counts, frames, the state each test runs under,
# what the probe reports, and the timed sections of both windows.
source "$(dirname "$0")/lib.sh"

trace_program run.trace -batch -test -nocheck >out.txt 2>err.txt
apitrace dump run.trace >run.txt 2>/dev/null

# The whole call stream of a test-loop run against the one recorded when it
# was last reviewed: every constant of both windows' set-up, the first and
# last face of each display list, each test's state calls and its loop with
# their arguments. After a deliberate change, review the difference and
# record the new stream with scripts/record_expected (call_stream.py says what it keeps).
check "the run's GL calls are the recorded ones" \
  diff "$SOURCE_DIR/tests/e2e/expected/test_loop_calls.txt" \
  <(python3 "$SOURCE_DIR/tests/e2e/call_stream.py" run.txt)

# The check of the pictures draws and reads only outside the timed
# sections, and puts the object back after a check frame: with it on,
# every timed section of both windows in both passes (the second draws
# check frames) is as without, to the matrices loaded.
for run in plain:-nocheck checked:; do
  trace_program "${run%%:*}.trace" -batch -test -loop 2 ${run#*:} >/dev/null 2>&1
  apitrace dump "${run%%:*}.trace" >"${run%%:*}.txt" 2>/dev/null
done
check "the timed sections are the same with the pictures checked" \
  python3 "$SOURCE_DIR/tests/e2e/call_stream.py" --timed-sections-kept plain.txt checked.txt
check "and the check read pictures back" grep -q 'glReadPixels(x = 0, y = 0, width = 512' checked.txt

# The display lists of the three stages that draw the object's mesh, and
# the tests that draw from them, each with its title, count and a time. In
# test-loop mode every such test draws 2 + 2 frames of its stage's list.
MESH_STAGES=(lines facets vertex_shade)
declare -A LIST=([lines]=1 [facets]=2 [vertex_shade]=3)
FRAMES=4
# The first runs of those stages, right after the swap test: a stage may
# come again later, from a set-up of its own.
mesh_tests=$(tests_in_run_order | awk -F'|' -v column="$(column_of stage)" -v stages="${MESH_STAGES[*]}" '
  BEGIN { split(stages, list, " "); for (i in list) mesh[list[i]] = 1 }
  NR > 1 && !($column in mesh) { exit }
  NR > 1 { print }')
mesh_titles=$(field keyword <<<"$mesh_tests" | while read -r keyword; do progress_title "$keyword"; done)
expect_eq "the mesh stages' titles in order, after the swap test, with their counts" "$mesh_titles" \
  "$(grep '^Tarvelin - ' out.txt | sed -n "2,$(($(grep -c . <<<"$mesh_tests") + 1))p")"
expect_eq "each test reports its seconds" "$(grep -c . <<<"$mesh_tests")" \
  "$(grep -A1 -xF "$mesh_titles" out.txt | grep -cE '^  [0-9]+\.[0-9]{3} s$')"

# The mesh stages' first runs, from building the first list to deleting the
# last, once.
mesh_calls() {  # mesh_calls DUMP
  awk -v first="glNewList\\(list = ${LIST[lines]}," -v last="glDeleteLists\\(list = ${LIST[vertex_shade]}," '
    $0 ~ first { on = 1 } on { print } on && $0 ~ last { exit }' "$1"
}
mesh_calls run.txt >families.txt
for stage in "${MESH_STAGES[@]}"; do
  expect_eq "the $stage stage's tests draw $FRAMES frames each of list ${LIST[$stage]}" \
    $((FRAMES * $(tests_where stage "$stage" | grep -cxF "$mesh_tests"))) \
    "$(grep -c "glCallList(list = ${LIST[$stage]})" families.txt)"
done
expect_eq "each list is deleted after its stage" "${#MESH_STAGES[@]}" "$(grep -c 'glDeleteLists' families.txt)"

# The first pass's spin comes from the generator's first two values
# (41 for x, 18467 for y) times 20 / 32767; y is composed first.
first_rotations=$(grep -m2 -oE 'glRotated\(angle = [0-9.e+-]+' run.txt | sed 's/.*= //' | paste -sd' ')
expect_eq "spin angles of the first pass" "11.2717 0.0250252" "$(printf '%.4f %.7f' $first_rotations)"

# The stencil checkerboard is drawn as one batch of 98,304 points.
expect_eq "stencil checkerboard points" 98304 "$(grep -c '^[0-9]* glVertex2i' run.txt)"

# State under which the tests run, read back from the driver by replaying
# the trace up to their first frame.
# The call of the first frame of a test in a run's dump: the first test of
# STAGE whose fields have the values given, among TESTS (the catalogue
# lines of the tests the run ran, in run order).
first_frame() {  # first_frame DUMP TESTS STAGE [FIELD=VALUE...]
  local dump=$1 tests=$2 stage=$3 ran wanted at
  shift 3
  ran=$(tests_where stage "$stage" | grep -xF "$tests")
  wanted=$(tests_matching "stage=$stage" "$@" | grep -xF "$ran" | head -n1)
  at=$(grep -nxF "$wanted" <<<"$ran" | cut -d: -f1)
  [ -n "$wanted" ] && [ -n "$at" ] || fail "a test of the $stage stage where $*"
  call_numbers "$dump" "glCallList\\(list = ${LIST[$stage]}\\)" | sed -n "$(((at - 1) * FRAMES + 1))p"
}
all=$(tests_in_run_order)
fogged=$(first_frame run.txt "$all" lines state=fog)
expect_eq "fogged lines draw with fog" GL_TRUE "$(gl_state run.trace "$fogged" GL_FOG)"
smooth_lines=$(first_frame run.txt "$all" lines state=smooth_lines)
expect_eq "smooth lines blend" GL_TRUE "$(gl_state run.trace "$smooth_lines" GL_BLEND)"
points=$(first_frame run.txt "$all" facets polygon_mode=points)
expect_eq "points are drawn in point mode" GL_POINT,GL_POINT "$(gl_state run.trace "$points" GL_POLYGON_MODE)"
wire=$(first_frame run.txt "$all" facets polygon_mode=lines state=none)
expect_eq "the wire frame inherits line width 0.8" 0.8 "$(gl_state run.trace "$wire" GL_LINE_WIDTH)"
expect_eq "the wire frame is drawn in line mode" GL_LINE,GL_LINE \
  "$(gl_state run.trace "$wire" GL_POLYGON_MODE)"
expect_eq "fog is off again for the wire frame" GL_FALSE "$(gl_state run.trace "$wire" GL_FOG)"
expect_eq "blending is off again for the wire frame" GL_FALSE "$(gl_state run.trace "$wire" GL_BLEND)"
expect_eq "the depth test is on" GL_TRUE "$(gl_state run.trace "$wire" GL_DEPTH_TEST)"
expect_eq "dithering is off on 8-bit channels" GL_FALSE "$(gl_state run.trace "$wire" GL_DITHER)"
expect_eq "fog parameters are set up" GL_EXP2 "$(gl_state run.trace "$wire" GL_FOG_MODE)"
smooth=$(first_frame run.txt "$all" facets state=smooth_polygons)
expect_eq "smooth polygons fill" GL_FILL,GL_FILL "$(gl_state run.trace "$smooth" GL_POLYGON_MODE)"
expect_eq "smooth polygons add" GL_ONE "$(gl_state run.trace "$smooth" GL_BLEND_DST)"
expect_eq "smooth polygons smooth" GL_TRUE "$(gl_state run.trace "$smooth" GL_POLYGON_SMOOTH)"
filled=$(first_frame run.txt "$all" facets polygon_mode=fill state=none)
expect_eq "the filled polygons keep the additive blend function" GL_ONE \
  "$(gl_state run.trace "$filled" GL_BLEND_DST)"

# Every timed section of the run, 3D and 2D, holds only its loop between two
# glFinish calls: the one before the stopwatch starts and the one before it is
# read. Probes, titles and set-up stay outside (the recorded call stream
# above holds each loop's calls in order).
LOOP_CALLS="glXSwapBuffers glLoadMatrixf glCallList glRotated glAccum glClear glFlush \
glRasterPos2i glDrawPixels glCopyPixels glPixelZoom"
awk '/^[0-9]+ glFinish\(\)/ { inside = !inside; if (!inside) print substr(calls, 2); calls = ""; next }
     inside && /^[0-9]+ gl/ { name = $2; sub(/\(.*/, "", name); calls = calls " " name }' \
  run.txt >sections.txt
expect_eq "each test has one timed section" "$(test_count)" "$(grep -c . sections.txt)"
check "and each holds only the calls of a loop" bash -c "! tr ' ' '\n' <sections.txt |
  sort -u | grep -vxF -e '' $(printf -- "-e %s " $LOOP_CALLS)"
expect_eq "and the run reported each" "$(test_count)" "$(grep -cE '^  [0-9]+\.[0-9]{3} s$' out.txt)"

# A skipped test is left out entirely: no title, no count, no frames. With
# the smooth lines skipped, the wire frames keep line width 1.0.
smooth_lines_test=$(tests_where stage lines | grep -m1 '|smooth_lines$')
wire_test=$(tests_where stage facets | grep -m1 '|lines|none$')
{
  echo enable
  for test in "$wire_test" "$smooth_lines_test"; do echo "$(field keyword <<<"$test") pass"; done
  echo "$(tests_where stage lines | head -n1 | field keyword) go"
} >skip.def
trace_program skip.trace -batch -test -nocheck -def skip.def >out.txt 2>err.txt
apitrace dump skip.trace >skip.txt 2>/dev/null
ran=$(tests_in_run_order | grep -vxF -e "$wire_test" -e "$smooth_lines_test")
for test in "$wire_test" "$smooth_lines_test"; do
  check "no title for the skipped $(field title <<<"$test")" \
    bash -c "! grep -q '^Tarvelin - $(field title <<<"$test")  \[' out.txt"
done
after_wire=$(grep -A1 -xF "$wire_test" <<<"$all" | tail -n1)
check "the count goes on without them" contains out.txt \
  "Tarvelin - $(field title <<<"$after_wire")  [$(grep -nxF "$after_wire" <<<"$ran" | cut -d: -f1)/1]"
mesh_calls skip.txt >families.txt
for stage in lines facets; do
  expect_eq "a skipped test draws no frames of list ${LIST[$stage]}" \
    $((FRAMES * $(tests_where stage "$stage" | grep -xF "$mesh_tests" | grep -cxF "$ran"))) \
    "$(grep -c "glCallList(list = ${LIST[$stage]})" families.txt)"
done
expect_eq "the wire frame with fog keeps line width 1" 1 \
  "$(gl_state skip.trace "$(first_frame skip.txt "$ran" facets polygon_mode=lines state=fog)" GL_LINE_WIDTH)"

# What the probe read goes into the report.
run_batch -statusonly -zbits 16
expect_eq "status-only run" 0 "$STATUS"
check "no test ran" bash -c '! grep -q "^Tarvelin - " out.txt'
check "the vendor string is reported" grep -q '^Vendor     : .' result.tvl
check "8 bits of red" contains result.tvl "RED Bits         : 8"
check "the depth granted, not the one asked for" contains result.tvl "DEPTH Bits       : 24"
check "8 stencil bits" contains result.tvl "STENCIL Bits     : 8"
check "an accumulation buffer" grep -qE '^ACCUM_BLUE Bits  : [1-9]' result.tvl
