# A validation run compares every test's last picture with its reference:
# all agree on the GL implementation at hand, and each fault planted in the
# drawing turns exactly the tests it changes to "differs", with a difference
# picture that marks where.
source "$(dirname "$0")/lib.sh"

validate() {  # validate FOLDER [FAULT]
  STATUS=0
  TARVELIN_FAULT=${2:-} timeout 120 "$PROGRAM" -batch -validate "$1" -json "$1.json" \
    >out.txt 2>err.txt || STATUS=$?
}
verdicts() { awk -v want="$2" '$2 == want {print $1}' "$1/summary.txt" | paste -sd,; }

start=$(date +%s)
validate clean
elapsed=$(($(date +%s) - start))
expect_eq "every picture agrees with its reference (${GALLIUM_DRIVER:-llvmpipe})" 0 "$STATUS"
expect_eq "the summary has all 49 tests" 49 "$(wc -l <clean/summary.txt)"
expect_eq "none differs" "" "$(verdicts clean differs)"
check "each test has its verdict line in the output" \
  bash -c "[ \$(grep -cE '^  (ok|skipped)' out.txt) = 49 ]"
check "well under a minute (${elapsed} s)" test "$elapsed" -lt 60
check "no report is written" test ! -e result.tvl
expect_eq "the JSON results carry the verdicts, and no scores" "49 49" "$(python3 -c '
import json
tests = json.load(open("clean.json"))["tests"]
print(sum(t["validation"]["verdict"] in ("ok", "skipped") for t in tests),
      sum(t["score"] is None for t in tests))')"

for planted in "fog_off:lines_fog,points_fog,wire_frame_fog,polygon_color_fog,vertex_color_fog" \
  "nearest_filter:texture_real_GL_CLAMP,texture_real_GL_REPEAT" \
  "logic_copy:put_xor,copy_xor" \
  "drop_face:polygon_color,accumulation_buffer,blur,flat_shading,texture_fast_GL_REPEAT"; do
  fault=${planted%%:*}
  validate "$fault" "$fault"
  expect_eq "$fault: the run fails" 1 "$STATUS"
  expect_eq "$fault: exactly the tests it changes differ" "${planted#*:}" "$(verdicts "$fault" differs)"
  for test in $(echo "${planted#*:}" | tr , ' '); do
    red=$(convert "$fault/$test-difference.png" -fx 'r==1 && g==0 && b==0 ? 1 : 0' \
      -format '%[fx:mean*w*h]' info:)
    check "$fault: $test's difference picture marks where ($red pixels)" \
      test "${red%.*}" -gt 0
    check "$fault: $test's captured and reference pictures are kept" \
      test -s "$fault/$test-captured.png" -a -s "$fault/$test-reference.png"
  done
done
