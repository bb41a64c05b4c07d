// The plain-text comparison of runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compare/run_changes.h"
#include "compare/run_file.h"

// The comparison as text, one line per run naming its file, renderer,
// start and verdict ("trusted" or "not trusted", either followed by the
// kinds of the run's findings in brackets; "-" when the file has none),
// then a table: a header row (with a row of each run's platform under it
// where any run names one), one row per test of compared_keywords(runs),
// then a "3D total" and a "2D total" row; one column per run.
//
// A test's cell is its score with one decimal ("inf" when timed too fast
// to measure), or "skipped", "left out" or "not run" by its status, or "-"
// when the run lacks the test. A timed test whose picture differed has "!"
// right after its score, and a note under the table says what the mark
// means when any cell has it. In the columns after the first, a score is
// followed by its ratio to the first run's score ("x1.50") when that is a
// positive score; any score with a coefficient of variation is followed by
// it as a percentage ("±3.1%"). A total's cell is the group's total, else
// its implemented value followed by "implemented", else "n/a"; totals get a
// ratio only when both runs have a full total.
//
// With `changes` (decide_changes(runs, ...)), each ratio is followed by the
// interval of its estimate where it has one ("[0.88, 0.94]") and the claim
// of its decision on both sides' passes (claim_text: "slower, p = 0.0012",
// "same (other renderer)", "cannot tell: one pass each", ...), and notes
// under the table give the threshold the decisions used and name each run
// of another platform or renderer than the first. Without, none of it.
//
// The columns are aligned in characters, not bytes (UTF-8). Needs at least
// one run.
// A ratio as the table shows it, "x1.50"; empty for none.
std::string ratio_text(std::optional<double> ratio);
// A decision's 95% interval of the ratio, "[0.88, 0.94]"; empty for none.
std::string interval_text(const Decision& decision);
// A group's value as its total's cell shows it, without a ratio: "959.9",
// "812.4 implemented" or "n/a".
std::string group_value_text(const GroupValues& values);

std::string comparison_table(const std::vector<RunFile>& runs, const Changes* changes = nullptr);
