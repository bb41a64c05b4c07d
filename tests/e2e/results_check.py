"""Checks a run's JSON and CSV result files and its summary lines against its text report.

    python3 results_check.py REPORT JSON CSV STDOUT

Prints what disagrees and exits 1, or exits 0 when all agree. The statistics of the first test
timed are worked out here again from its pass times.
"""
import csv
import json
import re
import statistics
import sys

report_path, json_path, csv_path, stdout_path = sys.argv[1:5]
problems = []


def expect(condition, what):
    if not condition:
        problems.append(what)


report = open(report_path).read()
lines = dict(re.findall(r"^([23]D [^:]*?) *: (\S+)$", report, re.M))
run = json.load(open(json_path))
tests = run["tests"]
expect(run["schema_version"] == 1, "schema_version")
expect(run["interrupted"] is False, "a run that ran to its end is not interrupted")
test_lines = [label for label in lines if not label.endswith((" total", " implemented"))]
expect([t["id"] for t in tests] == list(range(len(test_lines))), "every test, in catalogue order")

for test in tests:
    shown = lines.get(test["label"])
    if shown == "skipped":
        expect(test["status"] in ("skipped_by_check", "left_out") and test["score"] is None,
               f"{test['keyword']}: skipped in the report")
    elif shown == "inf":
        expect(test["status"] == "timed" and test["score"] is None, f"{test['keyword']}: inf")
    else:
        expect(test["status"] == "timed" and f"{test['score']:f}" == shown,
               f"{test['keyword']}: score {test['score']} against {shown}")

for group in ("3D", "2D"):
    total = run["totals"][group]
    shown = lines[f"{group} total"]
    if shown == "-----":
        # A group none of whose tests was measured has no value; the report prints 0.
        implemented = 0.0 if total["implemented"] is None else total["implemented"]
        expect(total["total"] is None and f"{implemented:f}" == lines[f"{group} implemented"],
               f"{group} implemented")
    else:
        expect(f"{total['total']:f}" == shown, f"{group} total {total['total']} against {shown}")

# One test's statistics by hand from its pass times.
timed = next(t for t in tests if t["status"] == "timed")
passes = timed["pass_seconds"]
expect(len(passes) == run["settings"]["loops"], "one time per pass")
mean = sum(passes) / len(passes)
trimmed = mean if len(passes) < 3 else (sum(passes) - min(passes) - max(passes)) / (len(passes) - 2)
scale = 4 if run["settings"]["quarter"] else 1
hand = {"min_seconds": min(passes), "max_seconds": max(passes), "mean_seconds": mean,
        "median_seconds": statistics.median(passes), "trimmed_mean_seconds": trimmed,
        "cv": statistics.stdev(passes) / mean,
        "score": timed["reference_seconds"] / (trimmed * scale) * 100}
# The interval of the trimmed mean (Tukey and McLaughlin): the winsorized
# variance over the values kept, t on their number less one; none for 3 passes,
# whose trimmed mean is their median.
T_975 = {1: 12.706205, 2: 4.302653, 3: 3.182446, 4: 2.776445, 5: 2.570582, 6: 2.446912,
         7: 2.364624, 8: 2.306004, 9: 2.262157}
kept = len(passes) - 2 if len(passes) >= 3 else len(passes)
if len(passes) >= 2 and kept - 1 in T_975:
    ends = sorted(passes)
    if len(passes) >= 3:
        ends[0], ends[-1] = ends[1], ends[-2]
    error = ((len(passes) - 1) * statistics.variance(ends) / (kept * (kept - 1))) ** 0.5
    hand["ci_half_width"] = T_975[kept - 1] * error / trimmed
    hand["score_low"] = hand["score"] / (1 + hand["ci_half_width"])
elif len(passes) == 3:
    expect(timed["ci_half_width"] is None and timed["score_low"] is None,
           "3 passes: no interval")
for field, value in hand.items():
    digits = 1e-6 if field in ("ci_half_width", "score_low") else 1e-9  # T_975's six decimals
    expect(abs(timed[field] - value) <= digits * max(1.0, abs(value)),
           f"{timed['keyword']} {field}: {timed[field]} against {value}")

rows = list(csv.reader(open(csv_path, newline="")))
expect(len(rows) == len(tests) + 1, f"{len(rows)} CSV rows")
header = rows[0]
for row, test in zip(rows[1:], tests):
    record = dict(zip(header, row))
    expect(record["keyword"] == test["keyword"] and record["status"] == test["status"],
           f"CSV row of {test['keyword']}")
    score = float(record["score"]) if record["score"] else None
    expect(score == test["score"], f"CSV score of {test['keyword']}")
    times = [float(t) for t in record["pass_seconds"].split(";")] if record["pass_seconds"] else []
    expect(times == test["pass_seconds"], f"CSV pass times of {test['keyword']}")

# The totals, then the verdict: "trusted" or one line per finding.
out = open(stdout_path).read().splitlines()
verdict_lines = [line for line in out if line.startswith("Tarvelin verdict: ")]
end = len(out) - len(verdict_lines)
summary = out[end - 2:end]
expected = [f"Tarvelin {g} total: " +
            ("n/a" if run["totals"][g]["total"] is None else f"{run['totals'][g]['total']:.2f}")
            for g in ("3D", "2D")]
expect(summary == expected, f"summary lines {summary} against {expected}")
verdict = run["verdict"]
expect(out[end:] == verdict_lines, "the verdict lines end the output")
if verdict["trusted"]:
    expect(len(verdict_lines) == 1 and verdict_lines[0].startswith("Tarvelin verdict: trusted"),
           f"trusted verdict line {verdict_lines}")
else:
    expect(verdict_lines == ["Tarvelin verdict: " + f["text"] for f in verdict["findings"]],
           f"verdict lines {verdict_lines} against the findings")

# Each test's picture: the CSV says what the JSON says, and the report names those that differ.
differing = [t["label"] for t in tests if t["picture"] == "differs"]
for row, test in zip(rows[1:], tests):
    expect(dict(zip(header, row))["picture"] == test["picture"], f"CSV picture of {test['keyword']}")
comments = re.findall(r"^#   ([23]D [^:]*): [0-9.]+% of pixels", report, re.M)
expect(comments == differing, f"report's picture comments {comments} against {differing}")

for problem in problems:
    print("disagrees:", problem)
sys.exit(1 if problems else 0)
