# The GL calls of the 2D window, from traces of test-loop runs (two of each
# pixel operation per test, 36 zoomed draws): the set-up, the logic ops and
# colour scales in order, the zoom sweep, the raster positions that continue
# one generator sequence across windows and passes, and the calls a skipped
# test or a status-only run does not make.
source "$(dirname "$0")/lib.sh"

# The calls of every single-buffered context in TRACE, without call numbers,
# pointers or the replay's fake calls; a line "window" opens each context.
calls_2d() {
  apitrace dump "$1" 2>/dev/null | awk '
    function field(line, name) {
      return match(line, name " = [^,)]+") ? substr(line, RSTART + length(name) + 3,
                                                    RLENGTH - length(name) - 3) : ""
    }
    /glXChooseVisual/ && !/= NULL$/ {
      id = field($0, "visualid")
      if (!(id in kind)) kind[id] = ($0 ~ /GLX_DOUBLEBUFFER/) ? "D" : "S"
    }
    /glXCreateContext/ {
      context = $0
      sub(/.* = /, "", context)
      context_kind[context] = kind[field($0, "visualid")]
      if (context_kind[context] == "S") print "window"
    }
    /glXMakeCurrent/ { current = context_kind[field($0, "ctx")]; next }
    current == "S" && /^[0-9]+ gl[A-Z]/ && !/\/\/ fake$/ {
      sub(/^[0-9]+ /, "")
      gsub(/pixels = 0x[0-9a-f]+/, "pixels = ?")
      print
    }'
}
# The runs leave the check of the pictures out: it draws and reads outside
# the timed loops, and test_3d_core.sh shows those loops are the same.
trace_run() {  # trace_run NAME OPTION...: the 2D calls of a traced batch run go to NAME.calls
  local name=$1
  shift
  trace_program "$name.trace" -batch -nocheck "$@" >"$name.out" 2>&1 || fail "traced run $*"
  calls_2d "$name.trace" >"$name.calls"
}
logic_ops() { sed -n 's/^glLogicOp(opcode = \(.*\))$/\1/p' "$1"; }
count_of() { grep -c -x -F -- "$1" "$2" || true; }  # count_of LINE FILE

PICTURE_PUT='glDrawPixels(width = 256, height = 256, format = GL_RGBA, type = GL_UNSIGNED_BYTE, pixels = blob(262144))'
# A probe's read of the corner, always at unit colour scales.
READ_BLOCK='glPushAttrib(mask = GL_PIXEL_MODE_BIT)
glPixelTransferf(pname = GL_RED_SCALE, param = 1)
glPixelTransferf(pname = GL_GREEN_SCALE, param = 1)
glPixelTransferf(pname = GL_BLUE_SCALE, param = 1)
glReadPixels(x = 0, y = 0, width = 8, height = 8, format = GL_RGB, type = GL_UNSIGNED_INT, pixels = ?)
glPopAttrib()'
# The one pixel every 2D window reads before it closes (see the window code).
LAST_READ='glReadPixels(x = 0, y = 0, width = 1, height = 1, format = GL_RGBA, type = GL_UNSIGNED_BYTE, pixels = ?)'
# A probe's known destination: the corner's left half all zero, its right half all one bits.
DESTINATION='glPushAttrib(mask = GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT)
glEnable(cap = GL_SCISSOR_TEST)
glScissor(x = 0, y = 0, width = 4, height = 8)
glClearColor(red = 0, green = 0, blue = 0, alpha = 0)
glClear(mask = GL_COLOR_BUFFER_BIT)
glScissor(x = 4, y = 0, width = 4, height = 8)
glClearColor(red = 1, green = 1, blue = 1, alpha = 1)
glClear(mask = GL_COLOR_BUFFER_BIT)
glPopAttrib()'
cat >setup.expected <<'CALLS'
window
glGetIntegerv(pname = GL_RED_BITS, params = &8)
glGetIntegerv(pname = GL_GREEN_BITS, params = &8)
glGetIntegerv(pname = GL_BLUE_BITS, params = &8)
glDisable(cap = GL_DITHER)
glEnable(cap = GL_INDEX_LOGIC_OP)
glEnable(cap = GL_COLOR_LOGIC_OP)
glOrtho(left = -128, right = 639, bottom = -128, top = 511, zNear = -1, zFar = 1)
glViewport(x = -128, y = -128, width = 768, height = 640)
glClearColor(red = 0, green = 0, blue = 0.2, alpha = 0)
glClear(mask = GL_COLOR_BUFFER_BIT)
CALLS
printf '%s\n' 'glLogicOp(opcode = GL_COPY)' 'glRasterPos2i(x = 0, y = 0)' "$PICTURE_PUT" \
  "$READ_BLOCK" >reference.expected

trace_run auto -test
check "the set-up comes first: depths, no dither at 8 bits, both logic-op enables, projection, clear" \
  diff setup.expected <(head -n 11 auto.calls)
check "then the reference block" diff reference.expected <(sed -n 12,20p auto.calls)
expect_eq "logic ops are never disabled" 0 "$(grep -c 'glDisable(cap = GL_.*LOGIC_OP)' auto.calls || true)"
expect_eq "nothing queries errors" 0 "$(grep -c '^glGetError' auto.calls || true)"
expect_eq "each timed test waits for the GL before and after its loop" $((2 * $(test_count 2D))) \
  "$(grep -c '^glFinish' auto.calls)"
check "nothing is flushed before the last draw" \
  awk '/^glFlush/ { flushed = 1; next } flushed { exit 1 }' auto.calls

# The reference, each put test's op before its probe, each copy test's
# GL_COPY source before its op and probe, each zoom test's. Each line of
# ops.keyed is "OP KEYWORD", KEYWORD the test that sets it ("-" the reference).
{
  echo "GL_COPY -"
  tests_where group 2D | while IFS='|' read -r keyword _ _ kernel _ op _; do
    [ "$kernel" != copy ] || echo "GL_COPY $keyword"
    echo "GL_$op $keyword"
  done
} >ops.keyed
check "the logic ops of the 2D tests in catalogue order" diff <(cut -d' ' -f1 ops.keyed) \
  <(logic_ops auto.calls)

# The half-tone test: scales, GL_COPY, probe (destination, put, read), two
# timed puts between glFinish calls, scales back.
awk '/GL_RED_SCALE, param = 0.45/ { on = 1 } on { print } /^glFinish/ { finishes += on }
     finishes == 2 && /GL_BLUE_SCALE, param = 1\)/ { exit }' auto.calls |
  sed 's/glRasterPos2i(x = -*[0-9]*, y = -*[0-9]*)/glRasterPos2i(X, Y)/' >half_tone.calls
printf '%s\n' 'glPixelTransferf(pname = GL_RED_SCALE, param = 0.45)' \
  'glPixelTransferf(pname = GL_GREEN_SCALE, param = 0.45)' \
  'glPixelTransferf(pname = GL_BLUE_SCALE, param = 0.45)' 'glLogicOp(opcode = GL_COPY)' \
  "$DESTINATION" 'glRasterPos2i(X, Y)' "$PICTURE_PUT" "$READ_BLOCK" 'glFinish()' \
  'glRasterPos2i(X, Y)' "$PICTURE_PUT" 'glRasterPos2i(X, Y)' "$PICTURE_PUT" 'glFinish()' \
  'glPixelTransferf(pname = GL_RED_SCALE, param = 1)' \
  'glPixelTransferf(pname = GL_GREEN_SCALE, param = 1)' \
  'glPixelTransferf(pname = GL_BLUE_SCALE, param = 1)' >half_tone.expected
check "the half-tone put sets and restores the colour scales around its probe and puts" \
  diff half_tone.expected half_tone.calls
# Each half-tone put sets three scales and puts them back.
expect_eq "outside the probes' reads no other test touches the scales" \
  $((6 * $(tests_where kernel half_tone_put | grep -c .))) \
  "$(sed '/^glPushAttrib(mask = GL_PIXEL_MODE_BIT)/,/^glPopAttrib/d' auto.calls | grep -c '^glPixelTransferf')"
# The first probed copy test, from its own logic op: the op's place among
# the run's glLogicOp calls is its line in ops.keyed.
probed_copy=$(first_test kernel=copy probed=probed)
probed_copy_op=GL_$(line_of "$probed_copy" | field logic_op)
printf '%s\n' 'glLogicOp(opcode = GL_COPY)' 'glRasterPos2i(x = 128, y = 64)' "$PICTURE_PUT" \
  "glLogicOp(opcode = $probed_copy_op)" "$DESTINATION" 'glRasterPos2i(x = 0, y = 0)' \
  'glCopyPixels(x = 128, y = 64, width = 8, height = 8, type = GL_COLOR)' "$READ_BLOCK" \
  'glFinish()' >copy_probe.expected
op_at=$(grep -nxF "$probed_copy_op $probed_copy" ops.keyed | cut -d: -f1)
check "a probed copy test: picture at the source, its op, a destination, an 8 x 8 copy probe" \
  diff copy_probe.expected <(grep -n '^glLogicOp' auto.calls | sed -n "${op_at}s/:.*//p" |
    { read -r at; sed -n "$((at - 3)),$((at + 18))p" auto.calls; })

# Each zoom test: one raster position, then zoom and put 36 times (the
# factors themselves are the unit tests' business).
sed -n '/^glPixelZoom/,/^glFinish/p' auto.calls >zoom.calls
zooms=$((36 * $(tests_where kernel zoom | grep -c .)))
expect_eq "each zoom sweep zooms 36 times" "$zooms" "$(grep -c '^glPixelZoom' zoom.calls)"
expect_eq "and puts once after each zoom" "$zooms" "$(count_of "$PICTURE_PUT" zoom.calls)"
expect_eq "the sweep starts at raster position (0, 0)" 'glRasterPos2i(x = 0, y = 0)' \
  "$(grep -B1 -m1 '^glPixelZoom' auto.calls | head -n 1)"
expect_eq "and the zoom is left at the sweep's last factor" \
  'glPixelZoom(xfactor = 0.015625, yfactor = 0.015625)' "$(grep '^glPixelZoom' zoom.calls | tail -n 1)"

# Without the check there is no reference and no probe: nothing is read back.
trace_run manual -test -no_autopass -loop 2
expect_eq "without the check no block is read back" 0 \
  "$(grep -c '^glReadPixels(x = 0, y = 0, width = 8' manual.calls || true)"

# The positions of the timed puts and copies follow the one generator
# sequence: in each pass the 3D set-up takes two values, then every put and
# copy takes x, then y with rows of 384 and above drawn again. The copy tests'
# source put and each zoom test's origin sit between them.
# One letter a 2D test, by its kernel: P put, C copy, Z the zoom sweep.
kinds=$(tests_where group 2D | field kernel | sed -E 's/^(half_tone_put|put)$/P/; s/^copy$/C/; s/^zoom$/Z/' |
  tr -d '\n')
[[ $kinds =~ ^[PCZ]+$ ]] || fail "every 2D kernel has its letter ($kinds)"
awk -v kinds="$kinds" '
  function next_value() {
    state = (state * 214013 + 2531011) % 4294967296
    return int(state / 65536) % 32768
  }
  function position(   x, y) {
    x = next_value() % 512 - 128
    do y = next_value() % 512; while (y >= 384)
    print x, y - 128
  }
  BEGIN {
    state = 1
    for (pass = 0; pass < 2; pass++) {
      print "window"
      next_value()
      next_value()
      for (t = 1; t <= length(kinds); t++) {
        kind = substr(kinds, t, 1)
        if (kind == "C") print 128, 64
        if (kind == "Z") print 0, 0
        else for (i = 0; i < 2; i++) position()
      }
    }
  }' >positions.expected
grep -e '^window' -e '^glRasterPos2i' manual.calls |
  sed 's/glRasterPos2i(x = \(.*\), y = \(.*\))/\1 \2/' >positions.txt
check "raster positions continue one sequence across windows and passes" \
  diff positions.expected positions.txt
expect_eq "the first put of the run is at (62, 97)" "62 97" "$(sed -n 2p positions.txt)"

# A skipped test makes no GL call at all.
{
  echo enable
  pass_lines 2D
} >no_2d.def
trace_run none -test -def no_2d.def
check "with every 2D test passed over only the set-up and the reference remain" \
  diff <(cat setup.expected reference.expected; echo "$LAST_READ"; echo 'glFlush()') none.calls

# A probed put and a probed copy of another op: each op is then set only by
# the tests that ran with it.
skipped_put=$(first_test kernel=put probed=probed)
skipped_put_op=$(line_of "$skipped_put" | field logic_op)
skipped_copy=$(tests_matching kernel=copy probed=probed | grep -vm1 "|$skipped_put_op|probed|" | field keyword)
skipped_copy_op=$(line_of "$skipped_copy" | field logic_op)
printf 'enable\n%s pass\n%s pass\n' "$skipped_put" "$skipped_copy" >two.def
trace_run two -test -no_autopass -def two.def
op_count_without_skipped() {  # op_count_without_skipped OP: the tests left that set GL_OP
  tests_where logic_op "$1" | field keyword | grep -cvxF -e "$skipped_put" -e "$skipped_copy" || true
}
expect_eq "a passed-over put sets no logic op" "$(op_count_without_skipped "$skipped_put_op")" \
  "$(count_of "glLogicOp(opcode = GL_$skipped_put_op)" two.calls)"
expect_eq "a passed-over copy sets no logic op" "$(op_count_without_skipped "$skipped_copy_op")" \
  "$(count_of "glLogicOp(opcode = GL_$skipped_copy_op)" two.calls)"
# One pass of manual.calls less the put test's two puts and the copy test's source.
expect_eq "and neither puts nor copies" \
  "$(($(count_of "$PICTURE_PUT" manual.calls) / 2 - 3))" "$(count_of "$PICTURE_PUT" two.calls)"
check "and show no title" bash -c '! grep -qF -e "$1  [" -e "$2  [" two.out' _ \
  "$(title_of "$skipped_put")" "$(title_of "$skipped_copy")"

trace_run status -statusonly
check "status-only stops after the clear" diff <(cat setup.expected; echo "$LAST_READ") \
  <(grep -v '^glFlush' status.calls)
check "and shows no title" bash -c '! grep -q "^Tarvelin - " status.out'
