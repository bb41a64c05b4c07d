#include "compare/paired_changes.h"

#include <algorithm>

namespace {

// A row decided on its rounds where it has enough of them, else shown with
// the ratio of its scores and not decided.
DecisionRow test_row(const TestResult* a, const TestResult* b) {
  DecisionRow row;
  row.estimate = paired_ratio(a->pass_seconds, b->pass_seconds, false);
  if (!row.estimate) row.shown_ratio = score_ratio(b, a);
  return row;
}

DecisionRow total_row(const GroupValues& a, const GroupValues& b) {
  DecisionRow row;
  row.estimate = paired_ratio(a.pass_values, b.pass_values, true);
  if (!row.estimate) row.shown_ratio = total_ratio(b, a);
  return row;
}

}  // namespace

Changes decide_paired_changes(const std::vector<RunFile>& sides, double threshold_percent) {
  Changes changes{threshold_percent, std::vector<RunChanges>(sides.size())};
  changes.paired = true;
  const std::vector<std::string> keywords = compared_keywords(sides);
  const RunFile& a = sides[0];
  const RunFile& b = sides[1];
  // The rows the table gives a ratio: those decided; the others stay none.
  std::vector<DecisionRow> rows;
  std::vector<bool> shown;
  for (const std::string& keyword : keywords) {
    const bool has_ratio = score_ratio(b.find(keyword), a.find(keyword)).has_value();
    shown.push_back(has_ratio);
    if (has_ratio) rows.push_back(test_row(a.find(keyword), b.find(keyword)));
  }
  const bool totals[2] = {total_ratio(b.total_3d, a.total_3d).has_value(),
                          total_ratio(b.total_2d, a.total_2d).has_value()};
  if (totals[0]) rows.push_back(total_row(a.total_3d, b.total_3d));
  if (totals[1]) rows.push_back(total_row(a.total_2d, b.total_2d));

  const std::vector<Decision> decisions = decide_rows(rows, threshold_percent);
  RunChanges& decided = changes.runs[1];
  size_t next = 0;
  for (const bool has_ratio : shown) {
    decided.tests.push_back(has_ratio ? std::optional<Decision>(decisions[next++]) : std::nullopt);
  }
  if (totals[0]) decided.total_3d = decisions[next++];
  if (totals[1]) decided.total_2d = decisions[next++];
  return changes;
}

bool any_change(const Changes& changes, Change change) {
  const auto is = [change](const std::optional<Decision>& decision) {
    return decision && decision->change == change;
  };
  return std::any_of(changes.runs.begin(), changes.runs.end(), [&](const RunChanges& run) {
    return std::any_of(run.tests.begin(), run.tests.end(), is) || is(run.total_3d) ||
           is(run.total_2d);
  });
}
