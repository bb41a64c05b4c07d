# The check of the timed tests' pictures and the run's verdict, as a user
# of a batch run and a reader of its result files meet them.
source "$(dirname "$0")/lib.sh"

# Each kind of drawing: every picture a test left (or its check frame) is
# its reference's, in a window and off-screen (where three tests cannot
# run), at the default counts.
pictures() {  # pictures JSON: "keyword:picture:which" for each test that ran
  python3 -c '
import json, sys
for t in json.load(open(sys.argv[1]))["tests"]:
    if t["status"] == "timed":
        print(t["keyword"], t["picture"], t["picture_check"]["picture"], sep=":")' "$1" | paste -sd' '
}
SOME=put_copy_val_half,copy_xor,scaling,swap_buffer,lines,accumulation_buffer,blur
run_batch -only $SOME -json window.json
expect_eq "window, default counts: exit status" 0 "$STATUS"
expect_eq "window, default counts: every picture ok, on a check frame" \
  "put_copy_val_half:ok:check_frame copy_xor:ok:check_frame scaling:ok:check_frame \
swap_buffer:ok:check_frame lines:ok:check_frame accumulation_buffer:ok:check_frame \
blur:ok:check_frame" "$(pictures window.json)"
check "no picture line" bash -c '! grep -q "picture differs" out.txt'
env -u DISPLAY "$PROGRAM" -batch -only $SOME -json offscreen.json >out.txt 2>err.txt ||
  fail "off-screen run: $(cat err.txt)"
expect_eq "off-screen, default counts: every picture ok" \
  "put_copy_val_half:ok:check_frame copy_xor:ok:check_frame scaling:ok:check_frame \
lines:ok:check_frame" "$(pictures offscreen.json)"
expect_eq "the tests it cannot run are not checked, with the reason" \
  "not drawn: the off-screen surface cannot draw it" "$(python3 -c '
import json
print(*{t["picture_check"]["reason"] for t in json.load(open("offscreen.json"))["tests"]
        if t["keyword"] == "swap_buffer"})')"

# The lit tests take their diffuse reflectance from the colour the test
# before them left, so a run that leaves tests out before them draws them
# lighter than their references: their check frames are lit as those were.
run_batch -quarter -only lines,flat_shading,spot_light -json lit.json
expect_eq "lit tests after tests left out: pictures ok" \
  "lines:ok:check_frame flat_shading:ok:check_frame spot_light:ok:check_frame" "$(pictures lit.json)"

# A test-loop run checks the 3D tests on their own timed frames; the
# planted faults make exactly the tests they change differ, a line under
# each says so and the verdict names them.
differing() { grep -B2 '^  picture differs: ' out.txt | sed -n 's/^Tarvelin - \(.*\)  \[.*/\1/p' | paste -sd,; }
TARVELIN_FAULT=drop_face run_batch -test
expect_eq "a dropped face: the test loop completes" 0 "$STATUS"
expect_eq "a dropped face: exactly the tests it changes differ" \
  "PolygonColor,Accumlation Buffer,Motion Blur,Flat Shading,GL_REPEAT Nearest TextureMapping" \
  "$(differing)"
check "the verdict names them" grep -q '^Tarvelin verdict: the pictures of 5 tests differ from their references: PolygonColor [0-9.]*% of pixels beyond 12, Accumlation Buffer' out.txt
TARVELIN_FAULT=logic_copy run_batch -test -only 2d
expect_eq "GL_XOR drawn as GL_COPY: the two XOR tests differ" "Put of GL_XOR,Copy of GL_XOR" \
  "$(differing)"

# A timed run with a fault still writes its scores; the result files and
# the report say which pictures differed.
TARVELIN_FAULT=fog_off run_batch -quarter -loop 2 -only lines,lines_fog,points_fog -json fog.json \
  -csv fog.csv
expect_eq "fog left off: exit status" 0 "$STATUS"
check "the result files, report, summary and verdict lines agree" \
  python3 "$SOURCE_DIR/tests/e2e/results_check.py" result.tvl fog.json fog.csv out.txt
expect_eq "the fog tests differ, the plain one does not; all are scored" \
  "lines:ok:1 lines_fog:differs:1 points_fog:differs:1" "$(python3 -c '
import json
for t in json.load(open("fog.json"))["tests"]:
    if t["status"] == "timed": print(t["keyword"], t["picture"], int(t["score"] > 0), sep=":")' |
    paste -sd' ')"
expect_eq "the verdict's finding names them" "lines_fog points_fog" "$(python3 -c '
import json
f = json.load(open("fog.json"))["verdict"]["findings"]
print(*next(x["tests"] for x in f if x["kind"] == "pictures_differ"))')"

# -nocheck: no picture is checked, so none can differ, and the verdict
# says the pictures were not judged.
TARVELIN_FAULT=fog_off run_batch -quarter -only lines_fog -nocheck -json off.json
check "-nocheck: no picture line" bash -c '! grep -q "picture" out.txt'
expect_eq "-nocheck: every test not checked, and why" "not_checked checking turned off (-nocheck)" \
  "$(python3 -c '
import json
tests = json.load(open("off.json"))["tests"]
print(*{(t["picture"], t["picture_check"]["reason"]) for t in tests}.pop())')"
expect_eq "-nocheck: the verdict did not judge the pictures" \
  "pictures: checking turned off (-nocheck)" "$(python3 -c '
import json
print(*("%(what)s: %(why)s" % n for n in json.load(open("off.json"))["verdict"]["not_judged"]
        if n["what"] == "pictures"))')"
