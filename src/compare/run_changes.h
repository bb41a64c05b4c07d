// What `-threshold T` decides of each later run against the first: for each
// test and total whose cell has a ratio, whether the later run was slower,
// faster, the same or cannot be told (decide_rows in core/ratio_decision.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compare/run_file.h"
#include "core/ratio_decision.h"

// How a later run's setup differs from the first run's. Its decisions then
// weigh two setups rather than one over time, and say so.
struct SetupDifference {
  bool platform = false;  // a file without a platform drew in X windows ("glx")
  bool renderer = false;

  bool any() const { return platform || renderer; }
  // "platform", "renderer" or "platform and renderer"; for any().
  const char* what() const {
    return platform && renderer ? "platform and renderer" : platform ? "platform" : "renderer";
  }
};

struct RunChanges {
  // By the place of the test's keyword in compared_keywords(runs); none
  // where the table shows no ratio (score_ratio).
  std::vector<std::optional<Decision>> tests;
  std::optional<Decision> total_3d;  // none where total_ratio is none
  std::optional<Decision> total_2d;
  SetupDifference other;
};

struct Changes {
  double threshold_percent = 0;
  // One per run, in order; the first's has no decisions, as the others are
  // measured against it.
  std::vector<RunChanges> runs;
  // Decided on paired rounds of an -ab session (compare/paired_changes.h)
  // rather than on two runs' passes.
  bool paired = false;
};

// Decides every later run against the first, with `threshold_percent`
// above 0, on the ratios the table shows: each test's score ratio with the
// estimate of its trimmed means of `pass_seconds` (times 4 in a quarter
// run, so that runs of either mode compare as their scores do; more time
// is slower), each full total's with that of its `pass_values` (higher is
// faster; trimmed_ratio), all of one run's rows together (decide_rows, so
// corrected for their number). A row without such an estimate (fewer than
// MIN_INTERVAL_PASSES passes on a side, a figure that is not a finite
// number above 0, a total without pass values) cannot be told.
Changes decide_changes(const std::vector<RunFile>& runs, double threshold_percent);

// How the rows of a later run are estimated against the first's: a test's
// from both runs' tests (the table gives them the ratio `shown`), a whole
// total's from both runs' groups.
struct RowEstimates {
  std::function<DecisionRow(const RunFile& first, const TestResult& first_test, const RunFile& run,
                            const TestResult& test, double shown)>
      test;
  std::function<DecisionRow(const GroupValues& first, const GroupValues& total, double shown)>
      total;
};

// A later run's decisions against the first: a row per test of `keywords`
// and per full total that the table gives a ratio, all decided together
// (decide_rows), so that the correction counts every row the run is
// weighed on. The setup difference is left for the caller to tell.
RunChanges decide_run(const RunFile& first, const RunFile& run,
                      const std::vector<std::string>& keywords, double threshold_percent,
                      const RowEstimates& estimates);

// Whether any test's decision (the chart's bars have no totals) is `change`.
bool any_test_change(const Changes& changes, Change change);
// Whether any row, test or total, is `change`.
bool any_change(const Changes& changes, Change change);

// Each decision that a run was slower, one line each in the order of the
// runs and then of the table's rows, as
// "slower: lines in run 2 (B.json): x0.85, corrected p = 0.0012", the ratio
// the table's and p corrected for the run's rows; "slower (other
// renderer): ..." for a run of another setup.
std::vector<std::string> slowdown_lines(const std::vector<RunFile>& runs, const Changes& changes);

// The decision as the table and the listing name it: "slower", "same",
// "cannot tell", ..., followed by "(other platform)", "(other renderer)"
// or "(other platform and renderer)" for a run of another setup. Inline, as
// the table, which is also built with the reader alone (the fuzz test),
// names decisions too.
inline std::string change_text(const Decision& decision, const SetupDifference& other) {
  const std::string text = change_name(decision.change);
  return other.any() ? text + " (other " + other.what() + ")" : text;
}
