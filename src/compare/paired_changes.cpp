#include "compare/paired_changes.h"

Changes decide_paired_changes(const std::vector<RunFile>& sides, double threshold_percent) {
  // Each round measured both sides seconds apart: a row is decided on the
  // ratios of its rounds where it has enough of them (the ratio shown is
  // then the estimate's), else shown with the ratio of its scores.
  const auto paired = [](const std::vector<double>& a, const std::vector<double>& b,
                         bool higher_is_faster, double shown) {
    DecisionRow row{std::nullopt, paired_ratio(a, b, higher_is_faster)};
    if (!row.estimate) row.shown_ratio = shown;
    return row;
  };
  const RowEstimates rounds{
      [&](const RunFile&, const TestResult& a, const RunFile&, const TestResult& b, double shown) {
        return paired(a.pass_seconds, b.pass_seconds, false, shown);
      },
      [&](const GroupValues& a, const GroupValues& b, double shown) {
        return paired(a.pass_values, b.pass_values, true, shown);
      }};
  Changes changes{threshold_percent, std::vector<RunChanges>(sides.size())};
  changes.paired = true;
  changes.runs[1] =
      decide_run(sides[0], sides[1], compared_keywords(sides), threshold_percent, rounds);
  return changes;
}
