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

# The twelve titles in order after the swap test, each with its count and
# a time.
expect_eq "the twelve titles in order with their counts" \
  "$(for keyword in lines lines_fog lines_smooth points points_fog wire_frame wire_frame_fog \
    polygon_color_smooth polygon_color polygon_color_fog vertex_color vertex_color_fog; do
    progress_title "$keyword"
  done)" "$(grep '^Tarvelin - ' out.txt | sed -n '2,13p')"
expect_eq "each test reports its seconds" 12 \
  "$(sed -n '/^Tarvelin - Lines  /,/^Tarvelin - VertexColor and Fog  /{n;p}' out.txt |
    grep -cE '^  [0-9]+\.[0-9]{3} s$')"

# The two families, from building list 1 to deleting list 3.
sed -n '/glNewList(list = 1,/,/glDeleteLists(list = 3,/p' run.txt >families.txt
# Test-loop mode: every test draws 2 + 2 frames of its list.
expect_eq "lines draw 3 x 4 frames of list 1" 12 "$(grep -c 'glCallList(list = 1)' families.txt)"
expect_eq "points, wire frames, polygons draw 7 x 4 frames of list 2" 28 \
  "$(grep -c 'glCallList(list = 2)' families.txt)"
expect_eq "vertex colours draw 2 x 4 frames of list 3" 8 \
  "$(grep -c 'glCallList(list = 3)' families.txt)"
expect_eq "each list is deleted after its family" 3 "$(grep -c 'glDeleteLists' families.txt)"

# The first pass's spin comes from the generator's first two values
# (41 for x, 18467 for y) times 20 / 32767; y is composed first.
first_rotations=$(grep -m2 -oE 'glRotated\(angle = [0-9.e+-]+' run.txt | sed 's/.*= //' | paste -sd' ')
expect_eq "spin angles of the first pass" "11.2717 0.0250252" "$(printf '%.4f %.7f' $first_rotations)"

# The stencil checkerboard is drawn as one batch of 98,304 points.
expect_eq "stencil checkerboard points" 98304 "$(grep -c '^[0-9]* glVertex2i' run.txt)"

# State under which the tests run, read back from the driver by replaying
# the trace up to their first frame.
list1=($(call_numbers run.txt 'glCallList\(list = 1\)'))
list2=($(call_numbers run.txt 'glCallList\(list = 2\)'))
expect_eq "Lines and Fog draws with fog" GL_TRUE "$(gl_state run.trace "${list1[4]}" GL_FOG)"
expect_eq "Lines and Smooth blends" GL_TRUE "$(gl_state run.trace "${list1[8]}" GL_BLEND)"
expect_eq "points are drawn in point mode" GL_POINT,GL_POINT \
  "$(gl_state run.trace "${list2[0]}" GL_POLYGON_MODE)"
wire=${list2[8]}
expect_eq "the wire frame inherits line width 0.8" 0.8 "$(gl_state run.trace "$wire" GL_LINE_WIDTH)"
expect_eq "the wire frame is drawn in line mode" GL_LINE,GL_LINE \
  "$(gl_state run.trace "$wire" GL_POLYGON_MODE)"
expect_eq "fog is off again for the wire frame" GL_FALSE "$(gl_state run.trace "$wire" GL_FOG)"
expect_eq "blending is off again for the wire frame" GL_FALSE "$(gl_state run.trace "$wire" GL_BLEND)"
expect_eq "the depth test is on" GL_TRUE "$(gl_state run.trace "$wire" GL_DEPTH_TEST)"
expect_eq "dithering is off on 8-bit channels" GL_FALSE "$(gl_state run.trace "$wire" GL_DITHER)"
expect_eq "fog parameters are set up" GL_EXP2 "$(gl_state run.trace "$wire" GL_FOG_MODE)"
smooth=${list2[16]}
expect_eq "PolygonSmooth fills" GL_FILL,GL_FILL "$(gl_state run.trace "$smooth" GL_POLYGON_MODE)"
expect_eq "PolygonSmooth adds" GL_ONE "$(gl_state run.trace "$smooth" GL_BLEND_DST)"
expect_eq "PolygonSmooth smooths" GL_TRUE "$(gl_state run.trace "$smooth" GL_POLYGON_SMOOTH)"
expect_eq "the polygons keep the additive blend function" GL_ONE \
  "$(gl_state run.trace "${list2[20]}" GL_BLEND_DST)"

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
# "Lines and Smooth" skipped the wire frames keep line width 1.0.
printf 'enable\nwire_frame pass\nlines_smooth pass\nlines go\n' >skip.def
trace_program skip.trace -batch -test -nocheck -def skip.def >out.txt 2>err.txt
apitrace dump skip.trace >skip.txt 2>/dev/null
check "no title for a skipped test" bash -c '! grep -q "WireFrame  \[" out.txt'
check "no title for the other skipped test" bash -c '! grep -q "Lines and Smooth" out.txt'
check "the count goes on without it" contains out.txt "Tarvelin - WireFrame and Fog  [6/1]"
sed -n '/glNewList(list = 1,/,/glDeleteLists(list = 3,/p' skip.txt >families.txt
expect_eq "two tests fewer draw two lists fewer" 8 "$(grep -c 'glCallList(list = 1)' families.txt)"
expect_eq "and list 2 four frames fewer" 24 "$(grep -c 'glCallList(list = 2)' families.txt)"
list2=($(call_numbers skip.txt 'glCallList\(list = 2\)'))
expect_eq "wire frame and fog keeps line width 1" 1 "$(gl_state skip.trace "${list2[4]}" GL_LINE_WIDTH)"

# What the probe read goes into the report.
run_batch -statusonly -zbits 16
expect_eq "status-only run" 0 "$STATUS"
check "no test ran" bash -c '! grep -q "^Tarvelin - " out.txt'
check "the vendor string is reported" grep -q '^Vendor     : .' result.tvl
check "8 bits of red" contains result.tvl "RED Bits         : 8"
check "the depth granted, not the one asked for" contains result.tvl "DEPTH Bits       : 24"
check "8 stencil bits" contains result.tvl "STENCIL Bits     : 8"
check "an accumulation buffer" grep -qE '^ACCUM_BLUE Bits  : [1-9]' result.tvl
