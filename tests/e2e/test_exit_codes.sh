# What a user or a script is told, and the exit status, for help, bad
# command lines, a missing display and a GL visual that cannot be had.
source "$(dirname "$0")/lib.sh"

run_batch -help
expect_eq "help in batch mode succeeds" 0 "$STATUS"
check "usage goes to stdout" contains out.txt "tarvelin [options]"
check "usage ends with the home page" contains out.txt "https://tarvelin.example.org/"

run_batch -quarter -bogus -test
expect_eq "an unknown option is a usage error" 2 "$STATUS"
expect_eq "the error is one line that names the word" \
  "Error: Unknown option '-bogus' / '-help' option is help" "$(cat err.txt)"
check "no window was opened for it" test ! -e result.tvl

# An option without its value would have run with the default report in
# its place: in batch mode it is a usage error naming the option.
for option in -f -def; do
  run_batch -statusonly "$option"
  expect_eq "$option without a value is a usage error" 2 "$STATUS"
  check "it names $option" contains err.txt "Error: Option '$option' needs a value"
  check "and no report was written" test ! -e result.tvl
done

# Counts: a loop count beyond its type is refused by name rather than
# wrapping to an endless run; the largest counts show their title total.
run_batch -loop 3000000000 -test
expect_eq "a loop count out of range is a usage error" 2 "$STATUS"
check "it names the value" contains err.txt "Error: Loop count '3000000000' is out of range"
"$PROGRAM" -batch -test -loop 43826197 >out.txt 2>err.txt &
pid=$!
BACKGROUND_PIDS+=("$pid")
for _ in $(seq 100); do grep -q '^Tarvelin - ' out.txt && break; sleep 0.05; done
kill "$pid"
wait "$pid" 2>/dev/null || true
expect_eq "every test times 43826197 passes counts past 32 bits" \
  "Tarvelin - $(tests_in_run_order | head -n1 | field title)  [1/$(($(test_count) * 43826197))]" \
  "$(grep -m1 '^Tarvelin - ' out.txt)"
check "and nothing overflowed on the way" bash -c '! grep -q "runtime error" err.txt'

# A command line that contradicts itself, names nothing, or asks what a
# validation cannot honour is refused before anything runs or is written
# (the pass definition file too, where -only leaves it unread):
# ARGS | the start of its one error line. A test to name: the first one run.
FIRST=$(tests_in_run_order | head -n1 | field keyword)
echo kept >same
while IFS='|' read -r args message; do
  eval "run_batch $args"
  expect_eq "$args: a usage error" 2 "$STATUS"
  check "$args: it says why" grep -qF "Error: $message" err.txt
done <<CASES
-f same -json ./same|-f same and -json ./same name the same file
-json x -csv x|-json x and -csv x name the same file
-def same -f ./same|-f ./same would replace the pass definition file -def same
-def same -json same|-json same would replace the pass definition file -def same
-def same -f same -only $FIRST|-f same would replace the pass definition file -def same
-validate v -json v/summary.txt|-json v/summary.txt and -validate v/summary.txt name the same file
-validate v -json v.json -loop -1|-json cannot be combined with an endless -loop: an endless run writes no results
-test -csv c.csv|-csv cannot be combined with -test: a test loop writes no results
-json ''|Option '-json' needs a filename, not an empty word
-validate ''|Option '-validate' needs a folder, not an empty word
-validate v -statusonly|-validate cannot be combined with -statusonly
-validate v -no_autopass|-validate cannot be combined with -no_autopass
-validate v -only $FIRST|-validate cannot be combined with -only
-only ,|Option '-only' names no test
-only ''|Option '-only' names no test
CASES
check "the file named twice is untouched" grep -qx kept same
check "no validation folder was made" test ! -e v

# -version answers first wherever it stands; a second -only adds its tests,
# and a group word names the whole group.
run_batch -bogus -version
expect_eq "-version after an unknown word still answers" "0 $("$PROGRAM" -version)" \
  "$STATUS $(cat out.txt)"
LAST_3D=$(tests_where group 3D | tail -n1 | field keyword)
run_batch -test -only "$LAST_3D" -only 2d
only=$(($(test_count 2D) + 1))
expect_eq "-only $LAST_3D -only 2d runs that 3D test and the 2D tests" "$only" \
  "$(grep -c "^Tarvelin - .*/$only\]$" out.txt)"

# Output that cannot be written is a failure, not a quiet loss.
for args in -list -version "-test -only $FIRST"; do
  STATUS=0
  "$PROGRAM" -batch $args >/dev/full 2>err.txt || STATUS=$?
  expect_eq "$args into a full standard output fails" 1 "$STATUS"
  check "$args: and says why" grep -q "standard output could not be written (No space left on device)" err.txt
done

# A missing pass file is told as the panel would tell it.
run_batch -test -def missing.def
expect_eq "a missing pass file is no failure" 0 "$STATUS"
expect_eq "the panel's warning goes to stderr" "Warning: Not opened missing.def" \
  "$(grep '^Warning' err.txt)"
run_batch -statusonly -def $'gone\xff\x1b.def'
expect_eq "a name's control and non-UTF-8 bytes are escaped" 'Warning: Not opened gone\xff\x1b.def' \
  "$(grep '^Warning' err.txt)"

run_batch -f "$(printf 'r%.0s' {1..256})"
expect_eq "a word over 255 characters is a usage error" 2 "$STATUS"
check "it says the word is too long" contains err.txt "Argument 2 is too long: 256 characters"

run_batch -f "$(printf 'r%.0s' {1..255})" -test
expect_eq "a 255-character word is fine" 0 "$STATUS"

run_batch -quarter -quarter -quarter -quarter -quarter -quarter -quarter -quarter \
  -quarter -quarter -quarter -quarter -quarter -quarter -quarter -quarter
expect_eq "sixteen arguments are a usage error" 2 "$STATUS"
check "it says there are too many" contains err.txt "Too many arguments: 16 given"

STATUS=0
env -u DISPLAY "$PROGRAM" -test >out.txt 2>err.txt || STATUS=$?
expect_eq "no display: failure" 1 "$STATUS"
check "no display: it says so" contains err.txt "cannot open the X display"
STATUS=0
env -u DISPLAY "$PROGRAM" -help >help.txt 2>err.txt || STATUS=$?
run_batch -help
expect_eq "no display: -help prints the usage line by line, as -batch -help does" \
  "0 $(cat out.txt)" "$STATUS $(cat help.txt)"

STATUS=0
TARVELIN_GL_VISUAL=none "$PROGRAM" -batch -test >out.txt 2>err.txt || STATUS=$?
expect_eq "a GL visual that cannot be had ends the run as a failure" 1 "$STATUS"
check "the failure is named" contains err.txt "Error: ChoosePixelFormat failed"
check "no completion message after a failure" bash -c '! grep -q "BenchMark complete" err.txt'

run_batch -test -zbits 64
expect_eq "a depth nobody offers gets the nearest one the server has" 0 "$STATUS"

run_batch -test -zbits 16
expect_eq "a 16-bit depth request is met" 0 "$STATUS"

# Without batch mode the same failure shows a box and the run ends with 0.
STATUS=0
"$PROGRAM" -bogus >out.txt 2>err.txt &
pid=$!
BACKGROUND_PIDS+=("$pid")
box=$(wait_for_window '^Error$' 30) || {
  xdotool search --name . getwindowname %@ >&2 2>/dev/null || true
  cat err.txt >&2
  fail "the error box appears"
}
retry_x xdotool windowfocus --sync "$box" key Return 2>/dev/null || retry_x xdotool key Return
wait "$pid" || STATUS=$?
expect_eq "an unknown option ends the desktop run with 0" 0 "$STATUS"

# A signal keeps the passes a timed run completed: the report, the result
# files and the history entry of a run of that many passes, the JSON saying
# so, and then the signal's exit status. SLOW, the one 3D test of these runs,
# takes long enough that a signal sent once its title of pass N shows lands
# before that pass is over, which is then dropped.
SLOW=$(first_test stage=facets polygon_mode=points state=none)
SLOW_TITLE=$(title_of "$SLOW")
PUT=$(first_test kernel=put probed=unprobed)
interrupt() {  # interrupt SIGNAL N ARGS...: a batch run signalled in pass N; its status in $STATUS
  local signal=$1 pass=$2 pid
  shift 2
  # A background job starts with SIGINT ignored, and so does every script
  # started as one, where no trap can put it back: env gives the program
  # the signal's default.
  env --default-signal=INT "$PROGRAM" -batch -quarter "$@" >out.txt 2>err.txt &
  pid=$!
  BACKGROUND_PIDS+=("$pid")
  for _ in $(seq 3000); do
    [ "$(grep -c "^Tarvelin - $SLOW_TITLE " out.txt)" -lt "$pass" ] || break
    sleep 0.02
  done
  kill -s "$signal" "$pid"
  STATUS=0
  wait "$pid" || STATUS=$?
}
rm -f result.tvl
interrupt INT 3 -only "$SLOW,$PUT" -precision 0.001 -budget 300 -json r.json -history
expect_eq "SIGINT in pass 3: the signal's exit status" 130 "$STATUS"
expect_eq "the JSON says so and holds the 2 passes completed, checks and times alike" \
  "True 2 2 interrupted {2} {2}" "$(python3 -c '
import json, sys
r = json.load(open("r.json"))
timed = [t for t in r["tests"] if t["status"] == "timed"]
print(r["interrupted"], r["settings"]["loops"], r["precision"]["passes"], r["precision"]["stopped"],
      {len(t["pass_seconds"]) for t in timed}, {t["picture_check"]["passes_checked"] for t in timed})')"
expect_eq "the report counts those passes" "#   2 loops" "$(grep '^#   [0-9]* loops$' result.tvl)"
check "the history keeps the same results" cmp r.json data/tarvelin/runs/*.json
check "stderr says what was kept" grep -qx \
  "tarvelin: interrupted by SIGINT; the report and result files hold the 2 passes completed" err.txt
check "tarvelin-compare reads the file" bash -c "'$(dirname "$PROGRAM")/tarvelin-compare' r.json r.json >/dev/null"
rm -f result.tvl
interrupt TERM 1 -only "$SLOW" -loop 5 -json t.json
expect_eq "SIGTERM in the first pass: the signal's status, nothing written" "143 no no" \
  "$STATUS $([ -e result.tvl ] && echo yes || echo no) $([ -e t.json ] && echo yes || echo no)"
check "stderr says so" grep -qx \
  "tarvelin: interrupted by SIGTERM before a pass was complete; nothing is kept" err.txt
