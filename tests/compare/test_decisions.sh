#!/usr/bin/env bash
# The decisions of -threshold T: each later run's tests and full totals
# against the first run's, on the ratios the table shows. Needs no X
# server.
#   bash tests/compare/test_decisions.sh PATH_TO_TARVELIN_COMPARE
# run_a.json beside it is a small result file of three passes, written
# before totals were given per pass.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
cp "$SOURCE_DIR"/tests/compare/run_a.json .

compare() {  # exit status to $STATUS, outputs to out.txt and err.txt
  STATUS=0
  "$PROGRAM" "$@" >out.txt 2>err.txt || STATUS=$?
}

# -threshold T decides each later run's tests (on the trimmed means of their
# pass times, four times a quarter run's) and full totals (on pass_values)
# against the first, on the ratios the table shows. first.json: five
# passes, lines steady, put_copy_val_half wide apart, pass_values for the
# 3D total. slower.json: lines and the 3D total 10% more time (x0.91),
# put_copy_val_half 10% inside its noise, swap_buffer faster;
# renderer.json: the same on softpipe; few.json: three passes of lines,
# whose trimmed mean (their median) has no interval; quarter.json:
# first.json's times in quarter mode.
python3 - <<'PY'
import json, statistics
def save(d, name, **tests):
    for keyword, seconds in tests.items():
        t = next(t for t in d['tests'] if t['keyword'] == keyword)
        kept = sorted(seconds)[1:-1] if len(seconds) > 2 else seconds
        t.update(pass_seconds=seconds, cv=statistics.stdev(seconds) / statistics.mean(seconds),
                 score=t['reference_seconds'] * 100 / statistics.mean(kept) / (4 if d['settings']['quarter'] else 1))
    json.dump(d, open(name, 'w'))
def times(seconds, factor):
    return [s * factor for s in seconds]
noisy, steady = [7.0, 7.75, 8.5, 9.25, 10.0], [3.1, 3.11, 3.125, 3.14, 3.15]
d = json.load(open('run_a.json'))
d['totals']['3D']['pass_values'] = [79.0, 79.5, 80.0, 80.5, 81.0]
save(d, 'first.json', put_copy_val_half=noisy, lines=steady, swap_buffer=[1.0] * 5)
save(json.loads(json.dumps(d)), 'few.json', lines=[3.4375] * 3)
d['settings']['quarter'] = True
save(d, 'quarter.json', put_copy_val_half=times(noisy, 0.25), lines=times(steady, 0.25),
     swap_buffer=[0.25] * 5)
d['settings']['quarter'] = False
d['totals']['3D'].update(total=72.0, pass_values=[71.1, 71.55, 72.0, 72.45, 72.9])
save(d, 'slower.json', put_copy_val_half=times(noisy, 1.1), lines=times(steady, 1.1),
     swap_buffer=[0.8] * 5)
d['environment']['renderer'] = 'softpipe'
json.dump(d, open('renderer.json', 'w'))
PY
compare -threshold 5 first.json slower.json -chart decided.svg
expect_eq "a slowdown: exit status" 1 "$STATUS"
expect_eq "a slowdown: the table" "test                run 1                 run 2
put_copy_val_half      99.8 ±14.0%           90.7 x0.91 [0.69, 1.21] cannot tell: interval reaches past ±5% ±14.0%
put_copy            skipped               skipped
swap_buffer           200.0 ±0.0%           250.0 x1.25 [1.25, 1.25] faster, p < 0.0001                     ±0.0%
lines                  80.0 ±0.7%            72.7 x0.91 [0.90, 0.92] slower, p = 0.0002                     ±0.7%

3D total               80.0                  72.0 x0.90 [0.88, 0.92] slower, p = 0.0003
2D total              100.0 implemented     100.0                                                           implemented

slower, faster: the ratio beyond 5% of run 1 and, by Yuen's test of the trimmed means on the log scale corrected for the number of rows by Holm's method, p < 0.05; same: the whole 95% interval within ±5%; cannot tell: neither, or fewer than 4 passes on a side" \
  "$(tail -n +4 out.txt)"
expect_eq "a slowdown: listed" "slower: lines in run 2 (slower.json): x0.91, corrected p = 0.0002
slower: 3D total in run 2 (slower.json): x0.90, corrected p = 0.0003" "$(cat err.txt)"
expect_eq "a slowdown: the chart's marks, one slower, one faster, one cannot tell, and their legend lines" 6 \
  "$(grep -c 'rgb(20%,20%,20%)' decided.svg)"
compare first.json slower.json
expect_eq "without -threshold: no decisions, no note, exit status 0" "0 0" \
  "$STATUS $(grep -cE 'x[0-9.]+ (same|faster|slower)|^slower' out.txt)"
# The ratio shown decides: x0.909 (1 / 1.1) is slower with T = 9 and not with
# T = 9.1, where its interval reaches beyond T and it cannot be told.
compare -threshold 9.1 first.json slower.json
expect_eq "a ratio inside T: not slower" "0 1" \
  "$(grep -c '^slower: lines ' err.txt) $(grep -cE '^lines .* x0\.91 \[.*\] cannot tell: interval reaches past ±9\.1% ' out.txt)"
compare -threshold 9 first.json slower.json
check "a ratio just beyond T: slower" grep -q '^slower: lines in run 2 ' err.txt
# Quarter-length times weigh four times over: decided as the full run is.
compare -threshold 5 first.json quarter.json
tail -n +4 out.txt >quarter.txt
compare -threshold 5 first.json first.json
expect_eq "a quarter run: decided as the same run in full" "$(tail -n +4 out.txt)" "$(cat quarter.txt)"
# Equal steady runs are the same; three passes cannot tell; a run on
# another renderer says so; a total without pass_values cannot tell.
compare -threshold 5 first.json first.json few.json renderer.json run_a.json
expect_eq "equal, few, renderer: exit status" 1 "$STATUS"
check "equal runs: the same" grep -qE '^lines +80\.0 ±0\.7% +80\.0 x1\.00 \[0\.98, 1\.02\] same +±0\.7% ' out.txt
check "3 passes: cannot tell, and why" grep -qE '^lines .* 72\.7 x0\.91 +cannot tell: fewer than 4 passes ' out.txt
check "another renderer: its decisions" grep -qF 'x1.25 [1.25, 1.25] faster (other renderer)' out.txt
check "another renderer: the note" grep -qxF 'run 4 drew on another renderer than run 1: its decisions compare two setups, not one over time' out.txt
check "another renderer: listed" grep -qE '^slower \(other renderer\): lines in run 4 \(renderer\.json\): x0\.91, corrected p = 0\.[0-9]{4}$' err.txt
check "no pass_values: cannot tell, and why" grep -qE '^3D total .* x1\.00 cannot tell: no passes recorded$' out.txt

# Without -threshold, -last decides at the default threshold and says so,
# and a slowdown leaves the exit status 0; only -threshold makes it 1.
RUNS=$XDG_DATA_HOME/tarvelin/runs
mkdir -p "$RUNS"
cp first.json "$RUNS/2026-12-09T00-00-00Z.json"
cp slower.json "$RUNS/2026-12-10T00-00-00Z.json"
compare -last 2 -chart last.svg
expect_eq "-last without -threshold: a slowdown's exit status, nothing on stderr" "0 " \
  "$STATUS $(cat err.txt)"
check "-last without -threshold: the claims" grep -qE '^lines .* x0\.91 \[0\.90, 0\.92\] slower, p = 0\.0002 ' out.txt
check "-last without -threshold: the default threshold noted" grep -qxF \
  'decided with the default threshold of 5%; -threshold T sets another and makes a slowdown exit with status 1' out.txt
check "-last without -threshold: the chart marks the decisions" grep -q 'rgb(20%,20%,20%)' last.svg
compare -last 2 -threshold 5
expect_eq "-last -threshold 5: a slowdown's exit status, and no note of a default" "1 0" \
  "$STATUS $(grep -c 'default threshold' out.txt)"


# Tests and totals are decided on one scale, the ratio shown: every time
# doubled (every score and total halved) is x0.50 for both, inside a
# threshold of 60% and so not slower; every time halved is x2.00 for both,
# beyond it. A file whose scores were changed without its pass times is
# decided on neither.
python3 - <<'PY'
import json
for name, factor, scores in (("doubled", 2.0, 0.5), ("halved", 0.5, 2.0), ("rescored", 1.0, 0.5)):
    d = json.load(open("first.json"))
    for t in d["tests"]:
        if t.get("pass_seconds"):
            t["pass_seconds"] = [s * factor for s in t["pass_seconds"]]
        if t.get("score") is not None:
            t["score"] *= scores
    total = d["totals"]["3D"]
    total.update(total=total["total"] / factor, pass_values=[v / factor for v in total["pass_values"]])
    json.dump(d, open(name + ".json", "w"))
PY
outcome() { grep -E "^$1 " out.txt | grep -oE "x[0-9.]+ (\[[0-9., ]*\] )?[a-z ]+" | sed 's/ \[.*\]//; s/ *$//'; }
for case in "doubled x0.50 same" "halved x2.00 faster"; do
  read -r name ratio decision <<<"$case"
  compare -threshold 60 first.json "$name.json"
  expect_eq "every time $name: lines and the 3D total alike" "$ratio $decision|$ratio $decision" \
    "$(outcome lines)|$(outcome '3D total')"
done
compare -threshold 5 first.json rescored.json
check "scores halved, pass times not: cannot tell, and why" \
  grep -qE '^lines .* x0\.50 +cannot tell: the scores and pass times disagree' out.txt

# Pass times at the top of the doubles overflow their moments: no
# decision, and no abort.
python3 -c "import json; d = json.load(open('run_a.json'))
d['tests'][3].update(pass_seconds=[1e308, 1e308, 1.7e308, 1e308], score=2.5e-306)
json.dump(d, open('huge.json', 'w'))"
compare -threshold 5 huge.json huge.json
expect_eq "pass times of 1e308: no abort" 0 "$STATUS"
check "pass times of 1e308: cannot tell" grep -qE '^lines .* x1\.00 +cannot tell: no interval ' out.txt
