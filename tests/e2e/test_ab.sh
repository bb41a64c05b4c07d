# Two sides in lockstep (tarvelin-compare -ab): a side made slower in one
# GL call is decided slower on the tests that make the call and on nothing
# else; its files, its JUnit report and its table agree; a side that
# crashes ends the session, and nothing of it is left running.
source "$(dirname "$0")/lib.sh"

COMPARE=$(dirname "$PROGRAM")/tarvelin-compare
SLOW_GL=${E2E_SLOW_GL:-$(dirname "$PROGRAM")/tests/libslow_gl.so}
[ -f "$SLOW_GL" ] || fail "the preloaded library $SLOW_GL is built"

# Two tests of the copy kernel, the only one that calls glCopyPixels, and
# one test of another kernel in each window.
read -r COPY_1 COPY_2 <<<"$(tests_where kernel copy | field keyword | head -2 | paste -sd' ')"
PUT=$(first_test kernel=put probed=unprobed)
POINTS=$(first_test stage=facets polygon_mode=points state=none)
ROUNDS=6
# Each copy call spins long enough to make those tests several times
# slower: a change no spell of contention hides in six rounds. The
# threshold is 25%: beside the other scripts, under CTest, quarter-length
# tests of 50 ms swing by half from one round to the next, and six rounds
# of that do not show a few percent, which is the point of the check of
# "nothing else". (scripts/ab_sessions measures what a session decides on
# a quiet machine at 5%.)
SLOWED="LD_PRELOAD=$SLOW_GL SLOW_GL_CALL=glCopyPixels SLOW_GL_SPIN_US=1000"
STATUS=0
"$COMPARE" -ab "" "$SLOWED" -rounds $ROUNDS -threshold 25 -o sides -junit junit.xml \
  -- -offscreen -quarter -only "$COPY_1,$COPY_2,$PUT,$POINTS" >table.txt 2>err.txt || STATUS=$?
cat table.txt err.txt
expect_eq "a side decided slower: exit status" 1 "$STATUS"
decision() {  # decision KEYWORD: the table's outcome of its row
  grep -E "^$1 " table.txt | grep -oE "(same|slower|faster|cannot tell)([ ,:]|$)" | sed 's/[ ,:]$//'
}
for keyword in "$COPY_1" "$COPY_2"; do
  expect_eq "$keyword, slowed, is decided slower" slower "$(decision "$keyword")"
  check "$keyword's slowdown is named on stderr" grep -qE "^slower: $keyword in run 2 .*: x0\.[0-9]+, corrected p [<=] " err.txt
done
for keyword in "$PUT" "$POINTS"; do
  check "$keyword, not slowed, is neither slower nor faster ($(decision "$keyword"))" \
    test "$(decision "$keyword")" = same -o "$(decision "$keyword")" = "cannot tell"
done
check "the table tells how the session ended" grep -qE "^session: $ROUNDS rounds in [0-9]+ s; $ROUNDS rounds done$" table.txt
check "it says each round on stderr, the first side swapping" \
  grep -qE "^tarvelin-compare: round 2 \(B A\): " err.txt

# Each side's result file holds the rounds as its passes; the JUnit report
# parses and has the table's outcomes.
check "both sides' result files hold $ROUNDS passes a test" python3 -c '
import json, sys
for side in "AB":
    tests = [t for t in json.load(open("sides/%s.json" % side))["tests"] if t["status"] == "timed"]
    assert len(tests) == 4 and all(len(t["pass_seconds"]) == int(sys.argv[1]) for t in tests), side
' "$ROUNDS"
junit_outcomes() {
  python3 -c '
import xml.etree.ElementTree as ET
suite = ET.parse("junit.xml").getroot()
for case in suite.iter("testcase"):
    outcome = "slower" if case.find("failure") is not None else "cannot tell" if case.find("skipped") is not None else "decided"
    print(case.get("name") + "|" + outcome)
print("counts|%s %s %s" % (suite.get("tests"), suite.get("failures"), suite.get("skipped")))'
}
table_outcomes() {
  for keyword in "$COPY_1" "$COPY_2" "$PUT" "$POINTS"; do
    outcome=$(decision "$keyword")
    [ "$outcome" = slower ] || [ "$outcome" = "cannot tell" ] || outcome=decided
    echo "$keyword|$outcome"
  done
}
expect_eq "the JUnit report has a case per test, the table's outcome each" \
  "$(table_outcomes | sort)" "$(junit_outcomes | grep -v '^counts|' | sort)"
check "each failure's and skip's message is its row's cell in the table" python3 -c '
import xml.etree.ElementTree as ET
rows = {line.split()[0]: line for line in open("table.txt") if line.strip()}
for case in ET.parse("junit.xml").getroot().iter("testcase"):
    for part in list(case):
        assert part.get("message") in rows[case.get("name")], (case.get("name"), part.get("message"))'
expect_eq "its counts: 4 tests, the 2 slower failing" "4 2" \
  "$(junit_outcomes | sed -n 's/^counts|\([0-9]*\) \([0-9]*\) .*/\1 \2/p')"

# A side that crashes at its third test (the copy, after the points and
# the put) ends
# the session with exit status 2 and a message that names it and where,
# and neither side is left running.
STATUS=0
"$COMPARE" -ab "" "LD_PRELOAD=$SLOW_GL SLOW_GL_ABORT=glCopyPixels" -rounds 3 -o crash \
  -- -offscreen -quarter -only "$POINTS,$PUT,$COPY_1" >crash.txt 2>crash.err || STATUS=$?
cat crash.err
expect_eq "a side that crashes: exit status" 2 "$STATUS"
check "the message names the side, its end and the test" \
  grep -qE "^tarvelin-compare: -ab: side B ended \(killed by signal 6 .*\) at $COPY_1 of round 1" crash.err
check "no table is printed" test ! -s crash.txt
sleep 1
check "no side is left running" test -z "$(pgrep -f "$WORK/crash/" || true)"

# A program that cannot be run is told before anything starts.
STATUS=0
"$COMPARE" -ab "" "./no-such-program" -rounds 3 >/dev/null 2>missing.err || STATUS=$?
expect_eq "a side that cannot run: exit status" 2 "$STATUS"
check "it is named" grep -qF "side B: cannot run ./no-such-program: No such file or directory" missing.err
