#include "report/statistics.h"

#include <algorithm>

#include "core/confidence.h"
#include "core/pass_statistics.h"
#include "report/scoring.h"

namespace {

TestStatus status_of(const RunOptions& options, const RunResults& results, TestId id) {
  if (results.saved_skip_flags[id]) return TestStatus::left_out;
  if (options.status_only) return TestStatus::not_run;
  if (results.skip_flags[id] == SKIPPED_OFF_SCREEN) return TestStatus::skipped_off_screen;
  if (results.skipped(id)) return TestStatus::skipped_by_check;
  return TestStatus::timed;
}

double median_of(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2.0;
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
  summary.min_seconds = *lowest;
  summary.max_seconds = *highest;
  summary.mean_seconds = mean_of(summary.pass_seconds);
  summary.median_seconds = median_of(summary.pass_seconds);
  summary.trimmed_mean_seconds = trimmed_mean(slots, n);
  summary.cv = coefficient_of_variation(summary.pass_seconds);
  if (const std::optional<MeanInterval> interval = trimmed_mean_interval(summary.pass_seconds)) {
    summary.ci_half_width = interval->relative_half_width;
  }
  if (options.has_precision_target()) {
    summary.precision_met = precision_met(summary.ci_half_width, n, options.precision_percent);
  }
  // A validation run draws each test at the test-loop counts: no score.
  const double score = test_score(options, results, id);
  if (is_measured_score(score) && !options.validating()) {
    summary.score = score;
    if (summary.ci_half_width) {
      const double h = *summary.ci_half_width;
      summary.score_low = score / (1.0 + h);
      if (h < 1.0) summary.score_high = score / (1.0 - h);
    }
  }
  return summary;
}

bool precision_met(const std::optional<double>& half_width, int passes, double percent) {
  return passes >= MIN_INTERVAL_PASSES && half_width && *half_width <= percent / 100.0;
}

std::vector<PrecisionMiss> precision_misses(const RunResults& results, int passes, double percent) {
  std::vector<PrecisionMiss> misses;
  for (const TestInfo& test : test_catalogue) {
    if (results.saved_skip_flags[test.id] || results.skipped(test.id)) continue;
    const double* slots = results.test_times[test.id];
    const std::optional<MeanInterval> interval =
        trimmed_mean_interval(std::vector<double>(slots, slots + passes));
    std::optional<double> half_width;
    if (interval) half_width = interval->relative_half_width;
    if (!precision_met(half_width, passes, percent)) misses.push_back({test.id, half_width});
  }
  return misses;
}
