#include "report/statistics.h"

#include <algorithm>
#include <cmath>

#include "report/scoring.h"

namespace {

TestStatus status_of(const RunOptions& options, const RunResults& results, TestId id) {
  if (results.saved_skip_flags[id]) return TestStatus::left_out;
  if (options.status_only) return TestStatus::not_run;
  if (results.skipped(id)) return TestStatus::skipped_by_check;
  return TestStatus::timed;
}

double median_of(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2.0;
}

std::optional<double> coefficient_of_variation(const std::vector<double>& values, double mean) {
  if (values.size() < 2 || mean == 0.0) return std::nullopt;
  double squares = 0.0;
  for (double value : values) squares += (value - mean) * (value - mean);
  return std::sqrt(squares / static_cast<double>(values.size() - 1)) / mean;
}

}  // namespace


TestSummary summarize_test(const RunOptions& options, const RunResults& results, TestId id) {
  TestSummary summary;
  summary.status = status_of(options, results, id);
  if (summary.status != TestStatus::timed) return summary;

  // A validation run draws one pass, whatever the loop count says.
  const int n = options.validating() ? 1 : counted_slots(options.loops);
  const double* slots = results.test_times[id];
  summary.pass_seconds.assign(slots, slots + n);
  const auto [lowest, highest] = std::minmax_element(slots, slots + n);
  double sum = 0.0;
  for (double value : summary.pass_seconds) sum += value;
  const double mean = sum / n;
  summary.min_seconds = *lowest;
  summary.max_seconds = *highest;
  summary.mean_seconds = mean;
  summary.median_seconds = median_of(summary.pass_seconds);
  summary.trimmed_mean_seconds = trimmed_mean(slots, n);
  summary.cv = coefficient_of_variation(summary.pass_seconds, mean);
  // A validation run draws each test at the test-loop counts: no score.
  const double score = test_score(options, results, id);
  if (is_measured_score(score) && !options.validating()) summary.score = score;
  return summary;
}
