# What the 2D tests leave in the frame buffer: the dark blue clear and the
# reference block, read back by replaying a trace of a test-loop run; and what
# each probe leaves in the window's corner, grabbed from the screen of the
# live program stopped as each timed section starts, against the result of
# its logic operation on the probes' known destination computed here.
source "$(dirname "$0")/lib.sh"

# The replay renders into a drawable as large as it was when the 2D context
# was made current (32 x 32 with this apitrace and Mesa), so only the window's
# lower-left corner is read back from the trace.
SIDE=16

# The lower-left SIDE x SIDE pixels of a picture as "X Y R G B" lines, top row first.
corner() {
  convert "$1" -gravity SouthWest -crop "${SIDE}x${SIDE}+0+0" +repage -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}

shared_trace run -batch -test

# Call numbers within the last context, the 2D window's.
first_call() {  # first_call PATTERN: the number of the first matching call
  awk -v pattern="$1" '
    /glXCreateContext/ { in_2d = 1; found = "" }
    in_2d && found == "" && index($0, pattern) { found = $1 }
    END { print found }' run.txt
}
clear_call=$(first_call "glClear(")
reference_call=$(first_call "glReadPixels(")
[ -n "$clear_call" ] && [ -n "$reference_call" ] || fail "the 2D calls are in the trace"

snapshots run.trace snap- "$clear_call" "$reference_call"
corner "$SOURCE_DIR/assets/picture.ppm" >picture.txt
for call in "$clear_call" "$reference_call"; do
  corner "$(printf 'snap-%010d.png' "$call")" >"block_$call.txt"
  expect_eq "snapshot after call $call holds the corner" $((SIDE * SIDE)) "$(wc -l <"block_$call.txt")"
done

check "the clear turns the window dark blue" \
  awk '$3 != 0 || $4 != 0 || $5 != 51 { exit 1 }' "block_$clear_call.txt"
check "the reference block is the picture's lower-left corner, as stored" \
  cmp -s picture.txt "block_$reference_call.txt"

# The live run: only the tests that put or copy (probed, or GL_COPY), stopped
# as each starts its stopwatch (right after its probe and the glFinish that
# opens the timed section), with the window's lower-left 8 x 8 pixels
# grabbed then. (Mesa's softpipe cannot serve here: under Xvfb it neither
# shows nor reads back a single-buffered window's pixels.)
probed=$(tests_where kernel half_tone_put put copy)
{
  echo enable
  tests_in_run_order | grep -vxF "$probed" | field keyword | sed 's/$/ pass/'
} >probes.def
cat >grab.gdb <<'GDB'
set pagination off
break Stopwatch::start
commands
silent
shell n=$(ls grab-*.png 2>/dev/null | wc -l); for i in 1 2 3 4 5; do import -window root -crop 8x8+50+426 +repage "$(printf grab-%02d.png "$n")" && break; sleep 0.2; done
continue
end
run
GDB
convert "$SOURCE_DIR/assets/picture.ppm" -gravity SouthWest -crop 8x8+0+0 +repage source.png
SIDE=8
grab() { printf 'grab-%02d.png' "$1"; }
gdb -q -batch -x grab.gdb --args "$PROGRAM" -batch -test -def probes.def >gdb.txt 2>&1
expect_eq "one grab for each put and copy test" "$(grep -c . <<<"$probed")" "$(ls grab-*.png | wc -l)"

# The colour scale of 0.45 reaches every component of the half-tone probe,
# whatever lay there before (GL_COPY ignores the destination).
half_tone=$(field kernel <<<"$probed" | grep -nx half_tone_put | cut -d: -f1)
paste -d' ' <(corner source.png) <(corner "$(grab $((half_tone - 1)))") | awk '
  function off(value, scaled) { d = scaled - value * 0.45; return d < -1 || d > 1 }
  off($3, $8) || off($4, $9) || off($5, $10) { bad++ }
  END { exit bad > 0 }' || fail "the half-tone probe puts the picture at 0.45 of its colour"
echo "ok - the half-tone probe puts the picture at 0.45 of its colour"

# Each put and copy under another operation than GL_COPY leaves that
# operation's result of the picture's corner on the known destination; for
# a put, that result is not the picture itself. All probes in one call of
# pixels.py, one count a line.
probes=() claims=()
n=0
while IFS='|' read -r _ _ _ kernel _ op _; do
  if [ "$kernel" != half_tone_put ] && [ "$op" != COPY ]; then
    probes+=("$op" source.png "$(grab "$n")")
    claims+=("0|the $kernel probe of GL_$op leaves its result on the known destination")
    if [ "$kernel" = put ]; then
      probes+=(COPY source.png "$(grab "$n")")
      claims+=("some|and that result is not the picture: GL_$op is seen to apply")
    fi
  fi
  n=$((n + 1))
done <<<"$probed"
mapfile -t counts < <(python3 "$SOURCE_DIR/tests/e2e/pixels.py" probe "${probes[@]}")
expect_eq "a count for each probe" "${#claims[@]}" "${#counts[@]}"
for i in "${!claims[@]}"; do
  claim=${claims[$i]#*|}
  if [ "${claims[$i]%%|*}" = 0 ]; then
    expect_eq "$claim" 0 "${counts[$i]:-}"
  else
    check "$claim" test "${counts[$i]:-0}" -gt 0
  fi
done
