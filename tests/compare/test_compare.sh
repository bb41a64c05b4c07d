#!/usr/bin/env bash
# The comparison of result files: the table, the refused input and the
# charts. Needs no X server.
#   bash tests/compare/test_compare.sh PATH_TO_TARVELIN_COMPARE
# run_a.json and run_b.json beside it are two small result files: run A has
# three passes and was written before pictures were checked, runs judged,
# totals given per pass and scores' intervals written; run B has two,
# leaves a test out, lacks one of A's tests, has one that A lacks, drew one
# picture that differed, was not trusted and gives each score's interval.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
cp "$SOURCE_DIR"/tests/compare/run_a.json "$SOURCE_DIR"/tests/compare/run_b.json .

compare() {  # exit status to $STATUS, outputs to $OUT (else out.txt) and err.txt
  STATUS=0
  "$PROGRAM" "$@" >"${OUT:-out.txt}" 2>err.txt || STATUS=$?
}

chart_size() {  # chart_size FILE: prints its width and height
  python3 - "$1" <<'PY'
import re, struct, sys
name = sys.argv[1]
data = open(name, "rb").read()
if name.lower().endswith(".png"):
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR"
    width, height = struct.unpack(">II", data[16:24])
elif name.lower().endswith(".svg"):
    width, height = map(float, re.search(rb'<svg[^>]* width="([\d.]+)\w*" height="([\d.]+)', data).groups())
else:
    assert data.startswith(b"%PDF-") and data.rstrip().endswith(b"%%EOF")
    width, height = map(float, re.search(rb"/MediaBox \[ *0 0 ([\d.]+) ([\d.]+)", data).groups())
print(round(width), round(height))
PY
}

marked() {  # marked FILE.png|FILE.svg: whether a bar has the red outline of a differing picture
  if [[ $1 == *.png ]]; then convert "$1" -format %c histogram:info:- | grep ' #CC0000 ' >/dev/null
  else grep -q 'rgb(80%,0%,0%)' "$1"; fi
}

# Ratios to the first run (100 and 150 give x1.50), a test that a run lacks
# as "-", a test only the second run has last, totals of both kinds, the
# platform under each run's name and the verdict after it ("-" for run A,
# written before there were either), the score of a picture that differed
# marked and the mark explained.
compare run_a.json run_b.json
expect_eq "two runs: exit status" 0 "$STATUS"
expect_eq "two runs: table" "run 1: run_a.json, llvmpipe (LLVM 15.0.6, 256 bits), started 2026-12-07T19:20:31Z, verdict: -
run 2: run_b.json, softpipe, started 2026-12-08T08:05:00Z, verdict: not trusted (pictures_differ, software_renderer)

test                run 1                 run 2
                    -                     egl-device
put_copy_val_half     100.0 ±3.0%            150.0  x1.50 ±2.8%
put_copy            skipped                   50.0!       ±0.0%
swap_buffer           200.0 ±0.0%                -
lines                  80.0 ±0.0%         left out
lines_fog                 -                  120.0        ±0.0%

3D total               80.0                  120.0        implemented
2D total              100.0 implemented      100.0

! the test's picture differed from its reference: the score times drawing that went wrong" "$(cat out.txt)"
cp out.txt table.txt

# A verdict of null (not judged) shows as "-"; a trusted run, and a
# finding's kind once however often it comes.
python3 -c "import json; d = json.load(open('run_b.json'))
d['verdict'] = None
json.dump(d, open('null.json', 'w'))
d['verdict'] = {'trusted': True, 'findings': [], 'not_judged': []}
d['tests'][0].update(score=None, picture='differs')
json.dump(d, open('trusted.json', 'w'))
d['verdict'] = {'trusted': False, 'findings': [{'kind': 'unsteady_tests'}] * 2}
json.dump(d, open('twice.json', 'w'))"
compare null.json trusted.json twice.json
expect_eq "verdicts" "null.json, softpipe, started 2026-12-08T08:05:00Z, verdict: -
trusted.json, softpipe, started 2026-12-08T08:05:00Z, verdict: trusted
twice.json, softpipe, started 2026-12-08T08:05:00Z, verdict: not trusted (unsteady_tests)" \
  "$(head -n 3 out.txt | cut -d' ' -f3-)"
check "a differing picture too fast to measure: marked" \
  grep -qE '^put_copy_val_half +150\.0  ±2\.8% +inf! +inf!$' out.txt

# Every later run is measured against the first, not its neighbour.
compare run_a.json run_b.json run_a.json
check "three runs: ratios to the first run" \
  grep -qE '^put_copy_val_half .* x1\.50 .* x1\.00 ±3\.0%$' out.txt

expect_error() {  # expect_error STATUS MESSAGE ARGS...
  local status=$1 message=$2
  shift 2
  compare "$@"
  expect_eq "$message: exit status" "$status" "$STATUS"
  expect_eq "$message: the message" "$message" "$(head -n 1 err.txt)"
}
expect_error 1 "tarvelin-compare: cannot read missing.json: No such file or directory" \
  run_a.json missing.json
expect_error 1 "tarvelin-compare: cannot read .: Is a directory" run_a.json .
# A file without end is read only up to the limit (the whole memory before).
expect_error 1 "tarvelin-compare: cannot read /dev/zero: larger than 16 MiB, which no result file is" \
  /dev/zero run_a.json
expect_error 2 "tarvelin-compare: needs at least two result files" run_a.json
expect_error 2 "tarvelin-compare: unknown option -x" -x run_a.json run_b.json
expect_error 2 "tarvelin-compare: -chart needs a file name" run_a.json run_b.json -chart
expect_error 2 "tarvelin-compare: cannot draw c.gif: the chart's name ends in .png, .svg or .pdf" \
  -chart c.gif run_a.json run_b.json
expect_error 1 "tarvelin-compare: cannot write none/c.png: No such file or directory" \
  -chart none/c.png run_a.json run_b.json
# With -threshold, 1 means a slowdown only: every failure is 2.
expect_error 2 "tarvelin-compare: cannot read missing.json: No such file or directory" \
  -threshold 5 run_a.json missing.json
expect_error 2 "tarvelin-compare: cannot write none/c.png: No such file or directory" \
  -threshold 5 -chart none/c.png run_a.json run_b.json
expect_error 2 "tarvelin-compare: -threshold needs a percentage" run_a.json run_b.json -threshold
expect_error 2 "tarvelin-compare: -threshold given twice" -threshold 5 -threshold 5 run_a.json run_b.json
for bad in 0 -1 abc '' inf 5%; do
  expect_error 2 "tarvelin-compare: -threshold \"$bad\": expected a percentage above 0, such as 5 or 2.5" \
    -threshold "$bad" run_a.json run_b.json
done

# -last N compares the N latest runs of the history (lib.sh gives it a
# folder of its own), oldest first.
RUNS=$XDG_DATA_HOME/tarvelin/runs
mkdir -p "$RUNS"
cp run_b.json "$RUNS/2026-12-08T08-05-00Z.json"
expect_error 1 "tarvelin-compare: -last 2: the history in $RUNS holds 1 run" -last 2
cp run_a.json "$RUNS/2026-12-07T19-20-31Z.json"
compare -last 2
expect_eq "-last 2: the kept runs, oldest first" \
  "run 1: $RUNS/2026-12-07T19-20-31Z.json|run 2: $RUNS/2026-12-08T08-05-00Z.json" \
  "$(grep '^run [0-9]*:' out.txt | cut -d, -f1 | paste -sd'|')"
for bad in 1 0 x ''; do
  expect_error 2 "tarvelin-compare: -last \"$bad\": expected a number of runs from 2 on" -last "$bad"
done
expect_error 2 "tarvelin-compare: -last compares kept runs, not result files" -last 2 run_a.json
compare -help
expect_eq "-help: exit status" 0 "$STATUS"
check "-help: the usage on stdout" grep -q '^usage: tarvelin-compare ' out.txt
options_of_section() {  # options_of_section NAME: the options the manual's section lists, in order
  awk -v name="$1" '/^\.SH / { inside = substr($0, 5) == name } inside && tp && /^\.BI? \\-[a-z]+/ {
    sub(/^\.BI? \\/, ""); sub(/ .*/, ""); print } { tp = $0 == ".TP" }' "$SOURCE_DIR"/man/tarvelin-compare.1
}
expect_eq "-help and the manual: the same options" "$(sed '/^With -ab/,$d' out.txt |
  grep -oE '^  -[a-z]+' | tr -d ' ')" "$(options_of_section OPTIONS)"
expect_eq "-help and the manual: the same options of -ab" "$(sed -n '/^With -ab/,$p' out.txt |
  grep -oE '^  -[a-z]+' | tr -d ' ')" "$(options_of_section 'A/B SESSIONS')"

# A lost table is a failure: a full standard output says so.
OUT=/dev/full expect_error 1 \
  "tarvelin-compare: cannot write the table to standard output: No space left on device" \
  run_a.json run_b.json

# A number beyond a double's range, in any field, is told with its place.
sed 's/"duration_seconds": 61.25/"duration_seconds": 1e309/' run_a.json >huge.json
expect_error 1 "tarvelin-compare: huge.json: at line 8, column 22: 1e309 is too large a number" \
  run_a.json huge.json
sed 's/"score": 200.0/"score": -1e999/' run_a.json >huge.json
expect_error 1 "tarvelin-compare: huge.json: at line 20, column 318: -1e999 is too large a number" \
  run_a.json huge.json

printf '{"schema_version": 1,\n "program" "tarvelin"}\n' >broken.json
compare run_a.json broken.json
expect_eq "not JSON: exit status" 1 "$STATUS"
check "not JSON: says where" grep -q '^tarvelin-compare: broken.json: not JSON: .*at line 2, ' err.txt

# Each line: a change to run_a.json (Python on its document d) | the complaint.
while IFS='|' read -r change complaint; do
  python3 -c "import json; d = json.load(open('run_a.json')); $change; json.dump(d, open('other.json', 'w'))"
  expect_error 1 "tarvelin-compare: other.json: $complaint" run_a.json other.json
  expect_error 2 "tarvelin-compare: other.json: $complaint" -threshold 5 run_a.json other.json
done <<'CASES'
del d['settings']['quarter']|settings.quarter: missing
del d['tests'][0]['pass_seconds']|tests[0].pass_seconds: missing
d['tests'][0]['pass_seconds'][2] = None|tests[0].pass_seconds[2]: expected a number, found null
d['tests'][0]['pass_seconds'][1] = -0.5|tests[0].pass_seconds[1]: -0.5 is below 0, which no run gives
d['totals']['3D']['pass_values'] = 80|totals.3D.pass_values: expected an array, found number
d['totals']['2D']['pass_values'] = [1, '2']|totals.2D.pass_values[1]: expected a number, found string
d['totals']['3D']['pass_values'] = [0, -1e-9]|totals.3D.pass_values[1]: -1e-09 is below 0, which no run gives
d = [d]|expected an object at the top, found array
d['schema_version'] = 2|schema_version: 2 is not 1, the version this reader knows
del d['schema_version']|schema_version: missing
d['program'] = 'other'|program: "other" is not "tarvelin"
d['tests'] = {}|tests: expected an array, found object
d['tests'][1] = 'put_copy'|tests[1]: expected an object, found string
del d['tests'][1]['keyword']|tests[1].keyword: missing
d['tests'][0]['score'] = '100'|tests[0].score: expected a number or null, found string
d['tests'][2]['status'] = 'done'|tests[2].status: unknown status "done"
d['tests'][3]['keyword'] = 'swap_buffer'|tests[3].keyword: "swap_buffer" appears twice
d['environment']['renderer'] = 7|environment.renderer: expected a string or null, found number
d['environment']['platform'] = None|environment.platform: expected a string, found null
d['totals']['2D'] = None|totals.2D: expected an object, found null
d['tests'][0]['score'] = -5|tests[0].score: -5 is below 0, which no run gives
d['tests'][0]['cv'] = -3.0|tests[0].cv: -3.0 is below 0, which no run gives
d['tests'][0]['score_low'] = -1|tests[0].score_low: -1 is below 0, which no run gives
d['tests'][0]['score_high'] = '200'|tests[0].score_high: expected a number or null, found string
d['tests'][0]['picture'] = 'wrong'|tests[0].picture: unknown picture result "wrong"
d['tests'][2]['picture'] = None|tests[2].picture: expected a string, found null
d['verdict'] = []|verdict: expected an object or null, found array
d['verdict'] = {'trusted': 'yes', 'findings': []}|verdict.trusted: expected a boolean, found string
d['verdict'] = {'trusted': False}|verdict.findings: missing
d['verdict'] = {'trusted': False, 'findings': [{'kind': 'a'}, 'b']}|verdict.findings[1]: expected an object, found string
d['verdict'] = {'trusted': False, 'findings': [{'text': 'a'}]}|verdict.findings[0].kind: missing
d['totals']['3D']['total'] = -1|totals.3D.total: -1 is below 0, which no run gives
[t.update(validation={'verdict': 'ok'}, score=None) for t in d['tests']]|a validation run (tests[0] has "validation"): it has no scores to compare
CASES

# What no run gives costs no more than a run: a huge score stays a short
# cell and sits at the chart's top, a keyword's control characters are
# escaped, and a long keyword is cut, in the table and on a chart of the
# usual size.
python3 -c "import json; d = json.load(open('run_a.json'))
d['tests'][2]['score'] = 1e300
d['tests'][3]['keyword'] = 'red\x1b[31m\nline\x9b'
d['tests'][0]['keyword'] = 'k' * 5000
d['tests'][1]['score'] = -0.0
json.dump(d, open('absurd.json', 'w'))"
compare run_a.json absurd.json -chart absurd.png
expect_eq "absurd values: exit status" 0 "$STATUS"
check "absurd values: a huge score in short" \
  grep -qE '^swap_buffer +200\.0 ±0\.0% +1\.0e\+300 x5\.00e\+297 ±0\.0%$' out.txt
check "absurd values: control characters escaped" grep -qF 'red\x1b[31m\x0aline\u009b ' out.txt
check "absurd values: a long keyword cut" grep -qE '^k{40}… ' out.txt
check "absurd values: -0.0 is the 0 a run writes" bash -c "! grep -qF -- '-0.0' out.txt"
read -r width height < <(chart_size absurd.png)
check "absurd values: a chart of the usual size" test "$width" -lt 2000 -a "$height" -lt 2000
expect_eq "old files: no mark, no note, no bar marked" "0 no" \
  "$(grep -c '!' out.txt) $(marked absurd.png && echo yes || echo no)"
cp run_a.json $'bad\xff.json'
compare run_a.json $'bad\xff.json'
check "a name that is no UTF-8: its byte escaped" grep -qF 'run 2: bad\xff.json, ' out.txt
expect_error 1 'tarvelin-compare: cannot read gone\xff.json: No such file or directory' \
  run_a.json $'gone\xff.json'

# A chart takes its name's place only once complete. One that cannot be
# made (too large for a PNG) or written (over the file size limit, or
# killed by it while an SVG is written) leaves the earlier chart as it was,
# and no temporary file beside it.
python3 -c "import json; d = json.load(open('run_a.json'))
d['tests'] = [dict(d['tests'][0], keyword='t%d' % i) for i in range(1200)]
json.dump(d, open('wide.json', 'w'))"
compare run_a.json run_b.json -chart kept.png
compare run_a.json run_b.json -chart kept.svg
mkdir before && cp kept.png kept.svg before/
compare wide.json run_b.json -chart kept.png
expect_eq "a PNG too large: exit status" 1 "$STATUS"
expect_eq "a PNG too large: the message" "tarvelin-compare: cannot draw kept.png: the chart would \
be W x H pixels, more than a PNG chart may have (32767 a side, 64 million in all); an .svg or .pdf \
chart has no such limit" "$(sed -E 's/[0-9]{5} x [0-9]+ pixels/W x H pixels/' err.txt)"
STATUS=0
(ulimit -f 8 && trap '' XFSZ && exec "$PROGRAM" wide.json run_b.json -chart kept.svg) \
  >/dev/null 2>err.txt || STATUS=$?
expect_eq "over the file size limit: exit status" 1 "$STATUS"
expect_eq "over the file size limit: the message" \
  "tarvelin-compare: cannot write kept.svg: File too large" "$(cat err.txt)"
STATUS=$( (ulimit -f 8 && "$PROGRAM" wide.json run_b.json -chart kept.svg &>/dev/null
  echo $?) 2>/dev/null)
expect_eq "killed while writing: exit status" $((128 + $(kill -l XFSZ))) "$STATUS"
check "failed charts: the earlier ones kept" cmp -s kept.png before/kept.png
check "failed charts: the earlier SVG kept" cmp -s kept.svg before/kept.svg
expect_eq "failed charts: no file left beside them" "" "$(ls -A | grep tarvelin || true)"

# A link to a device is written through and stays; a full device is told
# as such.
ln -s /dev/full full.png
expect_error 1 "tarvelin-compare: cannot write full.png: No space left on device" \
  run_a.json run_b.json -chart full.png
check "a link to /dev/full: the link stays" test -L full.png
mkdir charts
ln -s charts/later.png later.png
compare run_a.json run_b.json -chart later.png
check "a link to a chart not made yet: made through it" test -L later.png -a -s charts/later.png

# The chart's format follows its name; -chart may come anywhere. A chart
# of all 49 tests gives each group at least 20 pixels. Each marks run B's
# bar of the picture that differed.
python3 -c "import json; d = json.load(open('run_a.json'))
d['tests'] = [dict(d['tests'][0], id=i, keyword='test_%d' % i) for i in range(49)]
json.dump(d, open('all.json', 'w'))"
for name in chart.png chart.svg CHART.PDF all.png; do
  first=run_a.json
  [ "$name" = all.png ] && first=all.json
  compare "$first" -chart "$name" run_b.json
  expect_eq "$name: exit status" 0 "$STATUS"
  [ "$name" = all.png ] || check "$name: the same table" cmp -s out.txt table.txt
  read -r width height < <(chart_size "$name")
  check "$name: a chart of the size asked" \
    test "$height" -gt 500 -a "$width" -gt $([ "$name" = all.png ] && echo $((49 * 20)) || echo 500)
  [ "$name" = CHART.PDF ] || check "$name: the bar of a differing picture marked" marked "$name"
done
# Run B gives the intervals of its three scores (two of them without
# width), run A none: a whisker over each such bar, and one in the legend,
# each drawn on a white edge.
expect_eq "chart.svg: the scores' intervals" 4 \
  "$(grep -c 'stroke-width:3;[^"]*stroke:rgb(100%,100%,100%)' chart.svg)"
