# The 2D suite as a batch run shows it: the titles in catalogue order with
# their counts, which tests the automatic check passes over when logic
# operations have no effect (held off through the test hook) and when they
# do, the tests a pass definition passes over, and what the report makes of it.
source "$(dirname "$0")/lib.sh"

titles 2D >titles.txt

# One letter per test, catalogue order: T timed, S skipped by its check.
# With logic operations left disabled the tests that draw under GL_COPY (the
# half-tone put, the plain put and copy, the zoom) have no logic op to miss;
# every other test's probe finds no effect.
IGNORED_OUTCOMES=$(tests_where group 2D | field logic_op |
  awk '{ printf "%s", $1 == "COPY" ? "T" : "S" } END { print "" }')
ALL_TIMED=${IGNORED_OUTCOMES//S/T}

# For every 2D title in out.txt, in order: "COUNT LETTER TITLE", the letter
# telling what the line after the title says (T seconds, S skipped, - other).
# A last line "LAST COUNT" gives the count of the last title of any test.
titles_2d() {
  awk '
    NR == FNR { is_2d[$0] = 1; next }
    pending != "" {
      letter = ($0 ~ /^  [0-9]+\.[0-9][0-9][0-9] s$/) ? "T" : ($0 == "  skipped") ? "S" : "-"
      print pending, letter, name
      pending = ""
    }
    match($0, /  \[[0-9]+\/[0-9]+\]$/) {
      name = substr($0, 12, RSTART - 12)
      count = substr($0, RSTART + 3, RLENGTH - 3)
      sub(/\/.*/, "", count)
      last = count
      if (substr($0, 1, 11) == "Tarvelin - " && name in is_2d) pending = count
    }
    END { if (pending != "") print pending, "-", name; print "LAST", last }' titles.txt out.txt
}
letters() { grep -v '^LAST' "$1" | awk '{ printf "%s", $2 } END { print "" }'; }
names() { grep -v '^LAST' "$1" | cut -d' ' -f3-; }
# Exit status 0 when, within each pass's titles, every count is one more
# than the one before, the passes' counts rise, and the run's last title is
# the last 2D title (the 2D window closes each pass).
counts_follow_on() {
  awk -v per_pass="$(test_count 2D)" '$1 == "LAST" { exit !(n > 0 && $2 == previous) }
       { if (n > 0 && (n % per_pass ? $1 != previous + 1 : $1 <= previous)) exit 1; previous = $1; n++ }' "$1"
}

run_batch -test
expect_eq "test-loop run succeeds" 0 "$STATUS"
titles_2d >auto.txt
check "the 2D titles in catalogue order" diff <(names auto.txt) titles.txt
check "each title counts one, the 2D window last" counts_follow_on auto.txt
expect_eq "with the check on all are timed: Mesa applies every logic op" "$ALL_TIMED" \
  "$(letters auto.txt)"

TARVELIN_LOGIC_OPS=off run_batch -test
titles_2d >ignored.txt
expect_eq "with logic ops held off only those under GL_COPY are timed" "$IGNORED_OUTCOMES" \
  "$(letters ignored.txt)"

run_batch -test -no_autopass
titles_2d >manual.txt
check "without the check the same titles" diff <(names manual.txt) titles.txt
expect_eq "without the check all are timed" "$ALL_TIMED" "$(letters manual.txt)"

# A flag set by a probe lasts for its pass only: the next pass probes again.
TARVELIN_LOGIC_OPS=off run_batch -test -loop 2
titles_2d >loop.txt
check "two passes show every title twice" diff <(names loop.txt) <(cat titles.txt titles.txt)
check "the counts run on across the passes" counts_follow_on loop.txt
expect_eq "both passes probe and skip alike" "$IGNORED_OUTCOMES$IGNORED_OUTCOMES" "$(letters loop.txt)"

# A test the pass definition passes over shows no title and stores no time.
# A count of 0 passes a test over as "pass" does.
passed_put=$(first_test kernel=put probed=probed)
passed_zoom=$(first_test kernel=zoom)
printf 'enable\n%s pass\n%s 0\n' "$passed_put" "$passed_zoom" >some.def
run_batch -test -no_autopass -def some.def
titles_2d >some.txt
check "passed-over tests show no title" \
  diff <(names some.txt) <(grep -v -x -e "$(title_of "$passed_put")" -e "$(title_of "$passed_zoom")" titles.txt)
expect_eq "the others are timed" "${ALL_TIMED:2}" "$(letters some.txt)"

# The report reads the flags the last pass left: on Mesa every 2D test is
# timed and the group has a total; with logic ops held off every logic-op test
# is skipped, so the group has none. The 3D tests are passed over to keep the
# runs short.
{
  echo enable
  pass_lines 3D
} >only_2d.def
run_batch -quarter -def only_2d.def -f timed.tvl
expect_eq "quarter run succeeds" 0 "$STATUS"
expect_eq "every 2D test carries a score" "$(test_count 2D)" \
  "$(grep -vE '^2D (total|implemented) :' timed.tvl | grep -cE '^2D .* : [0-9]+\.[0-9]{6}$')"
check "and the 2D group has a total" grep -qE '^2D total : [0-9]+\.[0-9]{6}$' timed.tvl

TARVELIN_LOGIC_OPS=off run_batch -quarter -def only_2d.def -f report.tvl
expect_eq "quarter run with logic ops held off succeeds" 0 "$STATUS"
check "the report is written" test -s report.tvl
grep '^2D ' report.tvl | grep -v '^2D total\|^2D implemented' >report_2d.txt || true
expect_eq "the report has a line for each 2D test" "$(test_count 2D)" "$(wc -l <report_2d.txt)"
expect_eq "the probed logic-op tests are reported skipped" "$(tr -cd S <<<"$IGNORED_OUTCOMES" | wc -c)" "$(grep -c ': skipped$' report_2d.txt)"
for keyword in $(tests_matching group=2D logic_op=COPY | field keyword); do
  label=$(report_label "$keyword")
  check "\"$label\" (under GL_COPY) carries a score" \
    grep -qE "^$label +: [0-9]+\.[0-9]+$" report_2d.txt
done
check "so the 2D group has no total" grep -qx '2D total : -----' report.tvl
