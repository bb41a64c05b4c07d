# What the 2D tests leave in the frame buffer, read back by replaying a trace
# of a test-loop run: the dark blue clear, the reference block, the half-tone
# probe and the picture laid down where the copies take it from.
source "$(dirname "$0")/lib.sh"

# The replay renders into a drawable as large as it was when the 2D context
# was made current (32 x 32 with this apitrace and Mesa), so only the window's
# lower-left corner is read back; the probes work there too.
SIDE=16

# The lower-left SIDE x SIDE pixels of a picture as "X Y R G B" lines, top row first.
corner() {
  convert "$1" -gravity SouthWest -crop "${SIDE}x${SIDE}+0+0" +repage -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}

# Passing over the logic-op puts keeps their probes from putting the picture at
# the window's corner, so the copy probe has something to overwrite there.
{
  echo enable
  for keyword in put_copy_inverted put_and_reverse put_or_reverse put_and put_or put_nand \
    put_nor put_xor put_equiv put_and_inverted put_or_inverted; do
    echo "$keyword pass"
  done
} >corner.def
# A sanitized build cannot have its runtime first once apitrace is preloaded,
# and the tracer keeps allocations of its own; the untraced runs check leaks.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0" \
  apitrace trace -o run.trace "$PROGRAM" -batch -test -def corner.def >out.txt 2>&1 ||
  fail "traced test-loop run"
apitrace dump run.trace 2>/dev/null >dump.txt

# Call numbers within the last context, the 2D window's.
first_call() {  # first_call PATTERN: the number of the first matching call
  awk -v pattern="$1" '
    /glXCreateContext/ { in_2d = 1; found = "" }
    in_2d && found == "" && index($0, pattern) { found = $1 }
    END { print found }' dump.txt
}
call_before() {  # call_before NUMBER: the call the 2D window made just before it
  awk -v call="$1" '$1 == call { print previous; exit } /^[0-9]+ gl[A-Z]/ { previous = $1 }' dump.txt
}
clear_call=$(first_call "glClear(")
reference_call=$(first_call "glReadPixels(")
half_tone_call=$(first_call "glPixelTransferf(pname = GL_BLUE_SCALE, param = 1)")
copy_probe_call=$(first_call "glCopyPixels(x = 128, y = 64, width = 8, height = 8")
[ -n "$clear_call" ] && [ -n "$reference_call" ] && [ -n "$half_tone_call" ] &&
  [ -n "$copy_probe_call" ] || fail "the 2D calls are in the trace"
before_copy_call=$(call_before "$copy_probe_call")

snapshots run.trace snap- "$clear_call" "$reference_call" "$half_tone_call" "$before_copy_call"
corner "$SOURCE_DIR/assets/picture.ppm" >picture.txt
for call in "$clear_call" "$reference_call" "$half_tone_call" "$before_copy_call"; do
  corner "$(printf 'snap-%010d.png' "$call")" >"block_$call.txt"
  expect_eq "snapshot after call $call holds the corner" $((SIDE * SIDE)) "$(wc -l <"block_$call.txt")"
done

check "the clear turns the window dark blue" \
  awk '$3 != 0 || $4 != 0 || $5 != 51 { exit 1 }' "block_$clear_call.txt"
check "the reference block is the picture's lower-left corner, as stored" \
  cmp -s picture.txt "block_$reference_call.txt"

# The colour scale of 0.45 reaches every component of the half-tone probe.
paste -d' ' picture.txt "block_$half_tone_call.txt" | awk '
  function off(value, scaled) { d = scaled - value * 0.45; return d < -1 || d > 1 }
  off($3, $8) || off($4, $9) || off($5, $10) { bad++ }
  END { exit bad > 0 }' || fail "the half-tone probe puts the picture at 0.45 of its colour"
echo "ok - the half-tone probe puts the picture at 0.45 of its colour"

# The copy probe takes 8 x 8 pixels from window pixel (128, 64), where the
# picture's lower-left corner has just been put, draws them over the corner and
# compares the corner with the reference. The replay's small drawable cannot
# show the copy source itself, but it shows that the corner held something else
# before the probe; Mesa ignores the logic op, so a probe that finds the
# reference there (and passes the test over) has copied the picture's corner.
check "before the copy probe the corner is not the picture's" \
  bash -c '! cmp -s picture.txt "$1"' _ "block_$before_copy_call.txt"
expect_eq "the copy probe finds the picture's corner at the copy source" "  skipped" \
  "$(grep -A1 -F 'Copy of GL_COPY_INVERTED' out.txt | sed -n 2p)"
