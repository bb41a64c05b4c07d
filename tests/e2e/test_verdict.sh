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
# The first test of each kernel but the plain put and the stencil, the copy
# one that is probed; off-screen, the kernels that need a second buffer or
# an accumulation buffer cannot run.
SOME=$({
  first_test kernel=half_tone_put
  first_test kernel=copy probed=probed
  for kernel in zoom swap animated accumulation motion_blur; do first_test kernel=$kernel; done
} | in_catalogue_order)
NOT_OFF_SCREEN=$(tests_where kernel swap accumulation motion_blur | field keyword)
all_ok() { sed 's/$/:ok:check_frame/' | paste -sd' '; }  # all_ok: "KEYWORD:ok:check_frame ..." of stdin's keywords
run_batch -only "$(paste -sd, <<<"$SOME")" -json window.json
expect_eq "window, default counts: exit status" 0 "$STATUS"
expect_eq "window, default counts: every picture ok, on a check frame" \
  "$(all_ok <<<"$SOME")" "$(pictures window.json)"
check "no picture line" bash -c '! grep -q "picture differs" out.txt'
env -u DISPLAY "$PROGRAM" -batch -only "$(paste -sd, <<<"$SOME")" -json offscreen.json >out.txt 2>err.txt ||
  fail "off-screen run: $(cat err.txt)"
expect_eq "off-screen, default counts: every picture ok" \
  "$(grep -vxF "$NOT_OFF_SCREEN" <<<"$SOME" | all_ok)" "$(pictures offscreen.json)"
expect_eq "the tests it cannot run are not checked, with the reason" \
  "not drawn: the off-screen surface cannot draw it" "$(python3 -c '
import json, sys
print(*{t["picture_check"]["reason"] for t in json.load(open("offscreen.json"))["tests"]
        if t["keyword"] in sys.argv[1:]})' $(grep -xF "$NOT_OFF_SCREEN" <<<"$SOME"))"

# The lit tests take their diffuse reflectance from the colour the test
# before them left, so a run that leaves tests out before them draws them
# lighter than their references: their check frames are lit as those were.
# The first 3D test drawn from the mesh, the first flat-lit test and the
# first under spot lights.
LIT=$({
  first_test stage=lines
  first_test stage=flat_lit
  first_test state=spot_lights
} | in_catalogue_order)
run_batch -quarter -only "$(paste -sd, <<<"$LIT")" -json lit.json
expect_eq "lit tests after tests left out: pictures ok" "$(all_ok <<<"$LIT")" "$(pictures lit.json)"

# A test-loop run checks the 3D tests on their own timed frames; the
# planted faults make exactly the tests they change differ, a line under
# each says so and the verdict names them.
differing() { grep -B2 '^  picture differs: ' out.txt | sed -n 's/^Tarvelin - \(.*\)  \[.*/\1/p' | paste -sd,; }
# Which tests a dropped face changes is recorded (it depends on where the
# object stands in each); they are told in run order.
ere() { sed 's/[][\.*^$+?(){}|]/\\&/g'; }  # ere: stdin's text as an extended regular expression of itself
mapfile -t dropped < <(in_run_order <"$SOURCE_DIR/tests/e2e/expected/drop_face_differs.txt" |
  while read -r keyword; do title_of "$keyword"; done)
TARVELIN_FAULT=drop_face run_batch -test
expect_eq "a dropped face: the test loop completes" 0 "$STATUS"
expect_eq "a dropped face: exactly the tests it changes differ" \
  "$(printf '%s\n' "${dropped[@]}" | paste -sd,)" "$(differing)"
check "the verdict names them" grep -qE "^Tarvelin verdict: the pictures of ${#dropped[@]} tests differ \
from their references: $(ere <<<"${dropped[0]}") [0-9.]*% of pixels beyond 12, $(ere <<<"${dropped[1]}")" out.txt
TARVELIN_FAULT=logic_copy run_batch -test -only 2d
expect_eq "GL_XOR drawn as GL_COPY: the XOR tests differ" "$(tests_where logic_op XOR | field title | paste -sd,)" \
  "$(differing)"

# A timed run with a fault still writes its scores; the result files and
# the report say which pictures differed.
# The plain lines, and the first fogged test of the lines and of the facets.
PLAIN=$(first_test stage=lines state=none)
FOGGED=$(printf '%s\n' "$(first_test stage=lines state=fog)" "$(first_test stage=facets state=fog)")
FOG_RUN=$(printf '%s\n' "$PLAIN" "$FOGGED" | in_catalogue_order)
TARVELIN_FAULT=fog_off run_batch -quarter -loop 2 -only "$(paste -sd, <<<"$FOG_RUN")" -json fog.json \
  -csv fog.csv
expect_eq "fog left off: exit status" 0 "$STATUS"
check "the result files, report, summary and verdict lines agree" \
  python3 "$SOURCE_DIR/tests/e2e/results_check.py" result.tvl fog.json fog.csv out.txt
expect_eq "the fog tests differ, the plain one does not; all are scored" \
  "$(while read -r keyword; do
      if [ "$keyword" = "$PLAIN" ]; then echo "$keyword:ok:1"; else echo "$keyword:differs:1"; fi
    done <<<"$FOG_RUN" | paste -sd' ')" "$(python3 -c '
import json
for t in json.load(open("fog.json"))["tests"]:
    if t["status"] == "timed": print(t["keyword"], t["picture"], int(t["score"] > 0), sep=":")' |
    paste -sd' ')"
expect_eq "the verdict's finding names them" "$(in_catalogue_order <<<"$FOGGED" | paste -sd' ')" "$(python3 -c '
import json
f = json.load(open("fog.json"))["verdict"]["findings"]
print(*next(x["tests"] for x in f if x["kind"] == "pictures_differ"))')"

# -nocheck: no picture is checked, so none can differ, and the verdict
# says the pictures were not judged.
TARVELIN_FAULT=fog_off run_batch -quarter -only "$(head -n1 <<<"$FOGGED")" -nocheck -json off.json
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

# What a check cannot look at is a finding, never a silent pass.
kinds_of() {  # kinds_of JSON: "kind:test,test ..." of each finding
  python3 -c '
import json, sys
print(*("%s:%s" % (f["kind"], ",".join(f["tests"])) for f in json.load(open(sys.argv[1]))["verdict"]["findings"]))' "$1"
}
# References for some tests only, and the fog broken by a hook: the fogged
# test without its reference is unchecked, with that reason; the hook is
# named in the report's header, the result file and the verdict.
FOG_1=$(head -n1 <<<"$FOGGED")
mkdir some_refs && cp "$SOURCE_DIR"/assets/reference/*.png some_refs/ && rm "some_refs/$FOG_1.png"
TARVELIN_REFERENCES=$WORK/some_refs TARVELIN_FAULT=fog_off run_batch -quarter \
  -only "$PLAIN,$FOG_1" -json refs.json
expect_eq "a reference missing, a hook set: the findings (but the renderer's)" \
  "pictures_unchecked:$FOG_1 test_hooks:" "$(kinds_of refs.json | tr ' ' '\n' | grep -v ^software_renderer | paste -sd' ')"
check "the unchecked test and its reason are named" \
  grep -qF "could not be checked: $(title_of "$FOG_1") (no reference $WORK/some_refs/$FOG_1.png)" out.txt
check "the report's header names the hook" grep -qx "#   test hook set: TARVELIN_FAULT=fog_off" result.tvl
expect_eq "so does the result file" '["TARVELIN_FAULT=fog_off"]' \
  "$(python3 -c 'import json; print(json.dumps(json.load(open("refs.json"))["settings"]["test_hooks"]))')"

# Off-screen on Mesa's software device, whatever name the driver's settings
# give the renderer, the run measured the CPU.
if "$PROGRAM" -devices | grep -qv software; then
  echo "skipped: a renderer named otherwise (EGL lists a GPU here)"
else
  force_gl_renderer="NVIDIA GeForce RTX 4090" run_batch -offscreen -quarter -only "$PLAIN" -json named.json
  expect_eq "a GPU's name on the software device: the finding" "software_renderer:" "$(kinds_of named.json)"
  check "it says who reports it" \
    grep -qF 'EGL reports a software renderer, whatever its string "NVIDIA GeForce RTX 4090" says' out.txt
fi

# A GL that does not work: an indirect context of an X server that takes
# one answers no strings; a server that refuses it is told, not a raw X
# error.
OUTER_DISPLAY=$DISPLAY OUTER_XVFB_PID=${XVFB_PID:-}
start_xvfb +iglx
LIBGL_ALWAYS_INDIRECT=1 run_batch -quarter -only "$PLAIN,$(first_test kernel=put)" -json indirect.json
stop_xvfb
DISPLAY=$OUTER_DISPLAY XVFB_PID=$OUTER_XVFB_PID
expect_eq "an indirect context: exit status" 0 "$STATUS"
check "it is not trusted, for the strings it gave none of" \
  grep -qE "^Tarvelin verdict: the GL gave no vendor, renderer or version string" out.txt
if [ -n "${E2E_OWN_X_SERVER:-}" ]; then
  LIBGL_ALWAYS_INDIRECT=1 run_batch -quarter -only "$PLAIN"
  expect_eq "refused: exit status" 1 "$STATUS"
  check "refused: the message says what the X server did" grep -qE "^Error: SetPixelFormat failed / \
the X server refused to make its GL context current \(X error BadMatch" err.txt
fi
