# A validation run compares every test's last picture with its reference:
# all agree on the GL implementation at hand, and each fault planted in the
# drawing turns exactly the tests it changes to "differs", with a difference
# picture that marks where.
source "$(dirname "$0")/lib.sh"

validate() {  # validate FOLDER [FAULT [ARGS...]]
  local folder=$1 fault=${2:-}
  shift $(($# < 2 ? $# : 2))
  STATUS=0
  TARVELIN_FAULT=$fault timeout 120 "$PROGRAM" -batch -validate "$folder" -json "$folder.json" \
    "$@" >out.txt 2>err.txt || STATUS=$?
}
verdicts() { awk -v want="$2" '$2 == want {print $1}' "$1/summary.txt" | sort | paste -sd,; }

# Three tests whose references are spoilt below, the first three animated
# ones; the first of them also leaves a stale difference picture.
mapfile -t SPOILT < <(tests_where kernel animated | head -n 3 | field keyword)
[ "${#SPOILT[@]}" = 3 ] || fail "three animated tests"

# A picture an earlier run left is removed; the loop count changes nothing.
mkdir clean
touch "clean/${SPOILT[0]}-difference.png"
start=$(date +%s)
validate clean "" -loop 3
elapsed=$(($(date +%s) - start))
expect_eq "every picture agrees with its reference (${GALLIUM_DRIVER:-llvmpipe})" 0 "$STATUS"
expect_eq "the summary has every test" "$(test_count)" "$(wc -l <clean/summary.txt)"
expect_eq "none differs" "" "$(verdicts clean differs)"
check "each test has its verdict line in the output" \
  bash -c "[ \$(grep -cE '^  (ok|skipped)' out.txt) = $(test_count) ]"
check "well under a minute (${elapsed} s)" test "$elapsed" -lt 60
check "no report is written" test ! -e result.tvl
expect_eq "the JSON results carry the verdicts, and no scores, totals or invented passes" \
  "$(test_count) $(test_count) True None None True" "$(python3 -c '
import json
run = json.load(open("clean.json"))
tests, totals = run["tests"], run["totals"]
print(sum(t["validation"]["verdict"] in ("ok", "skipped") for t in tests),
      sum(t["score"] is None for t in tests),
      all(len(t["pass_seconds"]) == 1 for t in tests if t["status"] == "timed"),
      totals["3D"]["implemented"] or totals["3D"]["total"],
      totals["2D"]["implemented"] or totals["2D"]["total"], run["duration_seconds"] > 0)')"
expect_eq "the title counts one pass" "$(progress_title "$(tests_in_run_order | tail -n 1 | cut -d'|' -f1)")" \
  "$(grep '^Tarvelin - ' out.txt | tail -n 1)"
check "the earlier run's picture is gone" test ! -e "clean/${SPOILT[0]}-difference.png"

# References that are missing, of another size or no PNG are named with
# their path and why; no folder of references, or a folder that cannot be
# written, ends the run before any test.
cp -r "$SOURCE_DIR/assets/reference" refs
rm "refs/${SPOILT[0]}.png"
convert -size 10x10 xc:black "refs/${SPOILT[1]}.png"
echo broken >"refs/${SPOILT[2]}.png"
TARVELIN_REFERENCES=$PWD/refs validate odd
expect_eq "odd references: the run fails" 1 "$STATUS"
check "a missing one is named" grep -qxF "  not checked: no reference $PWD/refs/${SPOILT[0]}.png" out.txt
check "another size is told" grep -qxF \
  "  not checked: reference $PWD/refs/${SPOILT[1]}.png is 10 x 10 pixels, the picture 512 x 384" out.txt
check "a broken one cannot be read" \
  grep -qF "  not checked: reference $PWD/refs/${SPOILT[2]}.png cannot be read (" out.txt
check "the missing one's picture is kept, to make a reference from" test -s "odd/${SPOILT[0]}-captured.png"
check "no difference picture against a reference of another size" test ! -e "odd/${SPOILT[1]}-difference.png"
# A timed run's check leaves the same tests not checked for the same
# reasons: each judge's verdict is "keyword verdict reason".
unchecked_in_summary() { awk '$2 == "not_checked" {$3 = $4 = ""; print}' odd/summary.txt | tr -s ' '; }
TARVELIN_REFERENCES=$PWD/refs run_batch -quarter -only "$(IFS=,; echo "${SPOILT[*]}")" -json timed.json
expect_eq "odd references: the timed check agrees with validation" "$(unchecked_in_summary)" \
  "$(python3 -c '
import json
for t in json.load(open("timed.json"))["tests"]:
    if t["status"] == "timed" and t["picture"] == "not_checked":
        print(t["keyword"], t["picture"], t["picture_check"]["reason"])')"
TARVELIN_REFERENCES=$PWD/nowhere validate none
expect_eq "no references: a failure" "1 Error : no reference pictures: folder $PWD/nowhere not found" \
  "$STATUS $(head -n 1 err.txt)"
validate /sys/tarvelin-check
expect_eq "a folder that cannot be made: a failure before any test" "1 0" \
  "$STATUS $(grep -c '^Tarvelin - ' out.txt)"

# Each fault against the tests it changes: the fog tests, the linearly
# filtered textures, the GL_XOR puts and copies, and the tests whose pictures
# show the face the last fault leaves out (recorded by scripts/record_expected:
# which they are depends on where the object stands).
keywords() { field keyword | sort | paste -sd,; }
for planted in "fog_off:$(tests_where state fog | keywords)" \
  "nearest_filter:$(tests_where state linear_clamp linear_repeat | keywords)" \
  "logic_copy:$(tests_where logic_op XOR | keywords)" \
  "drop_face:$(sort "$SOURCE_DIR/tests/e2e/expected/drop_face_differs.txt" | paste -sd,)"; do
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

# A rerun that does not complete, failing at once or killed while it
# draws, leaves the last run's pictures and summary as they were.
listing() { (cd drop_face && sha1sum -- *.png summary.txt); }
listing >before.txt
TARVELIN_GL_VISUAL=none validate drop_face
expect_eq "a rerun that fails at once: a failure" 1 "$STATUS"
expect_eq "and the last run's files are kept" "$(cat before.txt)" "$(listing)"
"$PROGRAM" -batch -validate drop_face >out.txt 2>&1 &
pid=$!
BACKGROUND_PIDS+=("$pid")
for _ in $(seq 100); do grep -q '^Tarvelin - ' out.txt && break; sleep 0.05; done
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
expect_eq "a rerun killed while it draws: the last run's files are kept" "$(cat before.txt)" "$(listing)"
validate drop_face
expect_eq "a rerun that completes replaces them all" "0 $(test_count) 0" \
  "$STATUS $(wc -l <drop_face/summary.txt) $(find drop_face -name '*.png' -o -name '.tarvelin-*' | wc -l)"
