# An unattended test-loop run goes through every pass and ends at once,
# writing no report.
source "$(dirname "$0")/lib.sh"

start=$(date +%s%N)
run_batch -test -loop 3
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
expect_eq "test loop ends with success" 0 "$STATUS"
check "the completion message goes to stderr" contains err.txt "tarvelin: BenchMark complete."
check "no report is written in test-loop mode" test ! -e result.tvl
check "the run takes seconds, not minutes (${elapsed_ms} ms)" test "$elapsed_ms" -lt 60000

run_batch -statusonly -f status.tvl
expect_eq "status-only run ends with success" 0 "$STATUS"
check "on the GL implementation asked for (${GALLIUM_DRIVER:-llvmpipe})" \
  grep -q "^Renderer   : ${GALLIUM_DRIVER:-llvmpipe}" status.tvl
check "no completion box outside test-loop mode" bash -c '! grep -q "BenchMark complete" err.txt'
expect_eq "it writes a report, so it ends on the summary lines" \
  'Tarvelin 3D total: n/a|Tarvelin 2D total: n/a' "$(tail -n 2 out.txt | paste -sd'|')"

# Seconds as the nanosecond clock measured them, not a product's rounding
# noise; a control character in a file name cannot split a message's line.
# The first animated test, as quick as any.
TIMED=$(first_test kernel=animated)
run_batch -quarter -only "$TIMED" -json timed.json -f "$(printf 'no\nwhere/r.tvl')"
check "measured seconds have at most nine decimals" python3 -c '
import json, sys
run = json.load(open("timed.json"))
seconds = [s for t in run["tests"] if t["keyword"] == sys.argv[1] for s in t["pass_seconds"]]
seconds += [run["duration_seconds"]]
assert seconds[0] > 0 and all(len(repr(s).split(".")[1]) <= 9 for s in seconds), seconds' "$TIMED"
check "the report's error stays on one line" grep -qF 'Error : file no\x0awhere/r.tvl not created' err.txt

# Xvfb offers no swap control, so the swap interval is left to the driver; the
# report's header and the batch output (before the first test) say so, and
# say why.
NO_CONTROL='#   swap interval: set by the driver (no control offered)'
write_pass_over_all pass_over_all.def
run_batch -quarter -f swap.tvl -def pass_over_all.def -json none.json
expect_eq "the swap interval comes first in the batch output" "$NO_CONTROL" "$(head -n 1 out.txt)"
expect_eq "and is the header's last comment line" "$NO_CONTROL" \
  "$(sed -n '1,/^$/p' swap.tvl | grep '^#' | tail -n 1)"
check "no loops line for one pass" bash -c '! grep -q "loops$" swap.tvl'
expect_eq "a run with no test measured ends on two summary lines" \
  'Tarvelin 3D total: n/a|Tarvelin 2D total: n/a' \
  "$(grep -v '^Tarvelin verdict: ' out.txt | tail -n 2 | paste -sd'|')"
check "and the verdict" bash -c "tail -n 1 out.txt | grep -q '^Tarvelin verdict: '"
expect_eq "and its result file has no group value where none was measured" "None None None None" \
  "$(python3 -c 'import json; t = json.load(open("none.json"))["totals"]
print(*(t[g][k] for g in ("3D", "2D") for k in ("total", "implemented")))')"
SWAP=$(first_test kernel=swap)
printf 'enable\n%s go\n' "$SWAP" >swap_only.def
run_batch -test -vsync -def swap_only.def
expect_eq "with -vsync it is left to the driver on request" \
  "#   swap interval: set by the driver (-vsync)|Tarvelin - $(title_of "$SWAP")  [1/1]" \
  "$(head -n 2 out.txt | paste -sd'|')"
