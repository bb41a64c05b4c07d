# The report a run leaves behind, as a user reads it.
source "$(dirname "$0")/lib.sh"

# The report labels in report order, and the list of tests with their
# keywords, titles and reference times, as recorded: saved reports and
# scripts read them, so a change to any of them must show up here.
EXPECTED=$SOURCE_DIR/tests/e2e/expected
labels() { cat "$EXPECTED/report_labels.txt"; }
expect_eq "a label for every test" "$(test_count)" "$(labels | wc -l)"
check "-list shows every test as recorded" diff "$EXPECTED/list.txt" <("$PROGRAM" -list)

# A whole quarter-length run of two passes: every test has its line, in
# report order, with a score or "skipped"; the result files say the same.
run_batch -quarter -loop 2 -json run.json -csv run.csv
expect_eq "quarter run" 0 "$STATUS"
check "the header names the version" grep -qx "# Tarvelin version $(program_version)" result.tvl
check "the header shows quarter mode" grep -qx '#   quarter mode' result.tvl
check "the header shows the automatic check" grep -qx '#   function auto check mode' result.tvl
check "the loops line" grep -qx '#   2 loops' result.tvl
result_lines=$(sed -n '/^# result : 100.0 or higher is best$/,/^# 3D average/p' result.tvl |
  grep -E '^[23]D .* : ' | grep -vE '^[23]D (total|implemented) :')
expect_eq "the result lines in report order" "$(labels | paste -sd,)" \
  "$(echo "$result_lines" | sed 's/ *: .*//' | paste -sd,)"
expect_eq "each carries a score or skipped" "$(test_count)" \
  "$(echo "$result_lines" | grep -cE ': ([0-9]+\.[0-9]{6}|skipped|inf)$')"
# The first test's label is shorter than the column.
first_label=$(report_label "$(tests_in_run_order | head -n1 | field keyword)")
check "labels are padded to 25 columns" grep -qxF "$(printf '%-25s: ' "$first_label")" \
  <(echo "$result_lines" | sed 's/: .*/: /')
check "an empty line follows the swap line" bash -c \
  "grep -A1 -F '$(report_label "$(first_test kernel=swap)") ' result.tvl | tail -n1 | grep -qx ''"
check "the 3D total is a number" grep -qE '^3D total : [0-9]+\.[0-9]{6}$' result.tvl
check "the result files and summary lines agree with the report" \
  python3 "$SOURCE_DIR/tests/e2e/results_check.py" result.tvl run.json run.csv out.txt
expect_eq "every picture of both passes is its reference's" "ok 2" "$(python3 -c '
import json
print(*{"%s %d" % (t["picture"], t["picture_check"]["passes_checked"])
        for t in json.load(open("run.json"))["tests"] if t["status"] == "timed"})')"
cp result.tvl full.tvl

# Several passes over a few tests: all are passed over, then three are
# named again to run (the last line for a test wins): the plain lines, the
# plain points and the plain put, one of each window.
LINES=$(first_test stage=lines state=none)
FEW=$(printf '%s\n' "$LINES" "$(first_test stage=facets polygon_mode=points state=none)" \
  "$(first_test kernel=put probed=unprobed)" | in_run_order)
PASSES=3
RUNS=$((PASSES * $(grep -c . <<<"$FEW")))
{
  echo enable
  pass_lines
  sed 's/$/ go/' <<<"$FEW"
} >few.def
run_batch -loop $PASSES -def few.def -quarter -json few.json
expect_eq "three passes" 0 "$STATUS"
check "the loops line" grep -qx "#   $PASSES loops" result.tvl
few_titles=$(while read -r keyword; do title_of "$keyword"; done <<<"$FEW")
expect_eq "the tests' titles each pass, counted to $RUNS" \
  "$(for _ in $(seq $PASSES); do echo "$few_titles"; done | paste -sd,)" \
  "$(sed -n "s/^Tarvelin - \(.*\)  \[[0-9]*\/$RUNS\]\$/\1/p" out.txt | paste -sd,)"
check "the last title is $RUNS/$RUNS" grep -qxF "Tarvelin - $(tail -n1 <<<"$few_titles")  [$RUNS/$RUNS]" out.txt
expect_eq "the chosen tests are scored" "$(grep -c . <<<"$FEW")" "$(while read -r keyword; do
  grep -E "^$(report_label "$keyword") +: [0-9]" result.tvl; done <<<"$FEW" | wc -l)"
expect_eq "the others are skipped" $(($(test_count) - $(grep -c . <<<"$FEW"))) "$(grep -c ': skipped$' result.tvl)"

# The two runs side by side: the table's ratio is the second run's score
# over the first's, and the tests the second passed over say so.
"$(dirname "$PROGRAM")/tarvelin-compare" run.json few.json >compare.txt ||
  fail "tarvelin-compare on two runs: $(cat compare.txt)"
expect_eq "the compare table's ratio for the plain lines" "$(python3 -c '
import json, sys
score = lambda f: next(t["score"] for t in json.load(open(f))["tests"] if t["keyword"] == sys.argv[1])
print("x%.2f" % (score("few.json") / score("run.json")))' "$LINES")" \
  "$(awk -v keyword="$LINES" '$1 == keyword {for (i = 2; i <= NF; i++) if ($i ~ /^x[0-9]/) print $i}' compare.txt)"
LEFT_OUT=$(tests_where kernel animated | field keyword | grep -vxF "$FEW" | tail -n1)
check "a test the second run left out" grep -qE "^$LEFT_OUT +[0-9.]+ .*left out" compare.txt

# Status only: the environment, then nothing.
run_batch -statusonly -loop 5 -f status.tvl
expect_eq "status-only run" 0 "$STATUS"
check "the loops line still shows 5" grep -qx '#   5 loops' status.tvl
expect_eq "the report ends after the 2D block" "BLUE Bits        : 8|" \
  "$(tail -n2 status.tvl | paste -sd'|')"
check "no result section" bash -c '! grep -q "^# result" status.tvl'
