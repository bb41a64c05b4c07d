# The frame-buffer, lighting and texture families: what they draw and the
# state they leave, read back from the driver and from the screen.
source "$(dirname "$0")/lib.sh"

shared_trace run -batch -test
# In test-loop mode an animated or accumulating test draws 2 + 2 frames.
FRAMES=4
all=$(tests_in_run_order)
# The test that follows TEST (a catalogue line) in a run of every test.
next_test() { grep -A1 -xF "$1" <<<"$all" | tail -n1; }
accumulation=$(tests_where kernel accumulation)
blur=$(tests_where kernel motion_blur)
stencil=$(tests_where kernel stencil)

expect_eq "the 3D tests are titled in the suite's order" "$(titles 3D | paste -sd,)" \
  "$(sed -n "s/^Tarvelin - \(.*\)  \[[0-9]*\/$(test_count)\]$/\1/p" run.out | head -n "$(test_count 3D)" |
    paste -sd,)"
expect_eq "the swap test times 2 swaps after one frame" 2 "$(awk '
  /glCallList\(list = 3\)/ && !seen { seen = 1; next }
  seen && /glNewList/ { exit }
  seen && /glXSwapBuffers/ { swaps++ }
  END { print swaps + 0 }' run.txt)"

# Stencil: only pixels with x + y odd receive the mesh.
stencil_frame=$(awk '/glEnable\(cap = GL_STENCIL_TEST\)/ { enabled++ }
  enabled == 2 && /glCallList/ { print $1; exit }' run.txt)
snapshots run.trace stencil- "$stencil_frame"
# Picture rows count from the top: picture (x, r) is GL (x, 383 - r).
pattern=$(convert "stencil-$(printf %010d "$stencil_frame").png" -crop 8x8+248+188 +repage \
  -depth 8 txt:- | awk -F'[,:() ]+' 'NR > 1 {
    x = $1 + 248; y = 383 - ($2 + 188); mesh = ($3 != 0 || $4 != 0 || $5 != 51)
    if (mesh != ((x + y) % 2 == 1)) bad++ } END {print bad + 0}')
expect_eq "the stencil test lets only the odd checkerboard through" 0 "$pattern"

# Accumulation and motion blur, with two frames each in test-loop mode: the
# window must show the mean of the two frames. The frames come from
# replaying the trace; the shown picture from the live program, stopped
# just before the next test's title.
accum_calls=($(awk '/glDisable\(cap = GL_STENCIL_TEST\)/ { disabled++ }
  disabled == 2 && /glCallList\(list = 3\)/ { print $1 }' run.txt))
expect_eq "two frames each for accumulation and blur" \
  $((FRAMES / 2 * $(tests_where stage accumulation | grep -c .))) "${#accum_calls[@]}"
snapshots run.trace frame- "${accum_calls[@]:0:4}"
frame() { echo "frame-$(printf %010d "${accum_calls[$1]}").png"; }
# A grab of the test window's client area, tried again if the X server
# refuses the connection.
grab() {
  echo "for i in 1 2 3 4 5; do import -window root -crop 512x384+50+50 +repage $1 && break; sleep 0.2; done"
}
gdb -q -batch \
  -ex "break ProgressTitle::test_started if \$_streq(test.title, \"$(field title <<<"$(next_test "$accumulation")")\")" \
  -ex "break ProgressTitle::test_started if \$_streq(test.title, \"$(field title <<<"$(next_test "$blur")")\")" -ex run \
  -ex "shell sleep 0.3; $(grab shown-average.png)" -ex continue \
  -ex "shell sleep 0.3; $(grab shown-blur.png)" \
  -ex kill --args "$PROGRAM" -batch -test >gdb.txt 2>&1
check "frames of the two tests differ" test "$(pixels_differing "$(frame 0)" "$(frame 1)")" -gt 1000
blend() { python3 "$SOURCE_DIR/tests/e2e/pixels.py" blend "$@"; }
expect_eq "the accumulation test shows the average of its frames" 0 \
  "$(blend "$(frame 0)" "$(frame 1)" shown-average.png)"
expect_eq "motion blur shows half the new frame and half the last shown" 0 \
  "$(blend "$(frame 2)" "$(frame 3)" shown-blur.png)"

# Lighting: outside both spot cones only the global ambient light falls on
# the blue material, 0.2 x (0.2, 0.2, 1.0) of full scale.
spot_frame=$(first_call_after run.txt 'glEnable\(cap = GL_LIGHT3\)' glCallList)
snapshots run.trace spot- "$spot_frame"
ambient=$(convert "spot-$(printf %010d "$spot_frame").png" -depth 8 txt:- |
  grep -cE '\((9|10|11),(9|10|11),(50|51|52)\)')
check "the spot-lit mesh shows ambient-only pixels ($ambient)" test "$ambient" -gt 1000
lit=$(first_call_after run.txt 'glEnable\(cap = GL_LIGHT1\)' glCallList)
expect_eq "lighting is on for flat shading" GL_TRUE "$(gl_state run.trace "$lit" GL_LIGHTING)"
expect_eq "the stencil test is off after the buffer tests" GL_FALSE \
  "$(gl_state run.trace "$lit" GL_STENCIL_TEST)"
expect_eq "flat shading is flat" GL_FLAT "$(gl_state run.trace "$lit" GL_SHADE_MODEL)"

# Texturing: coordinates within [0, 1]; lighting off; each test's filter.
read -r low high < <(sed -n 's/.*glTexCoord2f(s = \([^,]*\), t = \([^)]*\)).*/\1\n\2/p' run.txt |
  sort -g | sed -n '1p;$p' | paste -sd' ')
expect_eq "texture coordinates within [0, 1]" "0 1" "$low $high"
texture_frames=($(call_numbers run.txt 'glCallList\(list = 5\)'))
# The first frame of the textured test whose draw state is STATE.
texture_frame() {  # texture_frame STATE
  local at
  at=$(tests_where stage textured | field state | grep -nx "$1" | cut -d: -f1)
  echo "${texture_frames[$(((at - 1) * FRAMES))]}"
}
first=$(texture_frame nearest_clamp)
expect_eq "lighting is off for texturing" GL_FALSE "$(gl_state run.trace "$first" GL_LIGHTING)"
check "texturing is on for the family" test -n "$(first_call_after run.txt \
  'glEnable\(cap = GL_TEXTURE_2D\)' 'glCallList\(list = 5\)')"
texture=GL_TEXTURE0/GL_TEXTURE_2D
expect_eq "nearest filtering, clamped" GL_NEAREST,GL_CLAMP \
  "$(gl_state run.trace "$first" $texture/GL_TEXTURE_MIN_FILTER),$(gl_state run.trace "$first" $texture/GL_TEXTURE_WRAP_T)"
last=$(texture_frame linear_repeat)
expect_eq "trilinear filtering, repeated" GL_LINEAR_MIPMAP_LINEAR,GL_REPEAT \
  "$(gl_state run.trace "$last" $texture/GL_TEXTURE_MIN_FILTER),$(gl_state run.trace "$last" $texture/GL_TEXTURE_WRAP_S)"
expect_eq "lights go on lower first and off higher first" "+0 +1 -1 -0 +0 +1 -1 -0 +2 +3 -3 -2" \
  "$(sed -n 's/.*gl\(En\|Dis\)able(cap = GL_LIGHT\([0-3]\)).*/\1\2/p' run.txt |
    sed 's/^En/+/; s/^Dis/-/' | paste -sd' ')"
expect_eq "the shade model is flat for texturing" GL_FLAT "$(gl_state run.trace "$first" GL_SHADE_MODEL)"
expect_eq "each texture test sets its four parameters" $((4 * $(tests_where stage textured | grep -c .))) \
  "$(grep -c glTexParameteri run.txt)"
check "texturing is off after the family" bash -c \
  "grep -A1 'glDisable(cap = GL_TEXTURE_2D)' run.txt | grep -q 'glDeleteLists(list = 5'"

# A 3D window without stencil and accumulation buffers.
STATUS=0
TARVELIN_GL_VISUAL=plain "$PROGRAM" -batch -test >plain.txt 2>err.txt || STATUS=$?
expect_eq "a plain visual still runs" 0 "$STATUS"
stencil_title=$(progress_title "$(field keyword <<<"$stencil")")
check "the stencil test is titled" grep -qxF "$stencil_title" plain.txt
expect_eq "and then skipped, saying why" "  skipped (no stencil buffer)" \
  "$(grep -A1 -xF "$stencil_title" plain.txt | tail -n1)"
accumulating=$(tests_where stage accumulation)
expect_eq "the accumulation tests are not even titled, only said to be skipped" \
  "$(field title <<<"$accumulating" | sed 's/^/  /; s/$/: skipped (no accumulation buffer)/')" \
  "$(grep -F "$(field title <<<"$accumulating")" plain.txt)"
after=$(next_test "$(tail -n1 <<<"$accumulating")")
check "the count goes on" contains plain.txt "Tarvelin - $(field title <<<"$after")  [$(($(grep -nxF "$after" <<<"$all" |
  cut -d: -f1) - $(grep -c . <<<"$accumulating")))/$(test_count)]"
TARVELIN_GL_VISUAL=plain "$PROGRAM" -batch -test -no_autopass >plain.txt 2>err.txt
check "without the check the stencil test runs" bash -c "grep -A1 -xF '$stencil_title' plain.txt | tail -n1 | grep -q ' s\$'"
check "without the check the accumulation tests run" grep -qxF \
  "$(progress_title "$(field keyword <<<"$blur")")" plain.txt

# A quarter run of the 3D tests alone scores them all and a 3D total.
{
  echo enable
  pass_lines 2D
} >no2d.def
run_batch -quarter -def no2d.def
expect_eq "quarter run" 0 "$STATUS"
expect_eq "a score for each 3D test" "$(test_count 3D)" "$(grep -v '^3D total' result.tvl | grep -cE '^3D .*: [0-9]+\.[0-9]{6}$')"
check "a 3D total" grep -qE '^3D total : [0-9]+\.[0-9]{6}$' result.tvl
