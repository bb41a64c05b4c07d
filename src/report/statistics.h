// What the result files say of one test: what became of it and the spread
// of its pass times, besides the score the report shows.
#pragma once

#include <optional>
#include <vector>

#include "core/catalogue.h"
#include "core/result_fields.h"
#include "core/run_options.h"
#include "core/run_results.h"

struct TestSummary {
  TestStatus status = TestStatus::not_run;
  std::vector<double> pass_seconds;  // the slots the score counts; empty unless timed
  std::optional<double> min_seconds;
  std::optional<double> median_seconds;
  std::optional<double> max_seconds;
  std::optional<double> mean_seconds;
  std::optional<double> trimmed_mean_seconds;  // the mean the score uses, unscaled
  // Sample standard deviation over the mean (core/pass_statistics.h):
  // 2 passes or more, none where every pass took 0 seconds.
  std::optional<double> cv;
  std::optional<double> score;  // as the report's; none unless timed and measurable
  // The 95% confidence interval of the trimmed mean the score uses, as a
  // share of it (trimmed_mean_interval, core/confidence.h: 2 passes, or 4
  // and more; none for 3, whose trimmed mean is their median), and the
  // score's bounds it gives: score / (1 + h) and score / (1 - h), the latter
  // none from h = 1.
  std::optional<double> ci_half_width;
  std::optional<double> score_low;
  std::optional<double> score_high;
  // Under a precision target: whether the interval is within it (from
  // MIN_INTERVAL_PASSES passes on); none without a target.
  std::optional<bool> precision_met;
};

// The summary of test `id` after the run: skipped tests are told apart by
// whether the pass definition or a check passed them over.
TestSummary summarize_test(const RunOptions& options, const RunResults& results, TestId id);

// Whether a test's pass times over `passes` passes meet a precision target
// of `percent`: MIN_INTERVAL_PASSES passes or more (two say little of their
// spread, and the trimmed mean of three, their median, has no interval) and
// a relative half-width of at most percent / 100.
bool precision_met(const std::optional<double>& half_width, int passes, double percent);

// The timed tests (neither left out nor passed over by their check) whose
// first `passes` pass times do not meet a precision target of `percent`,
// each with the relative half-width of its trimmed mean where there is one.
struct PrecisionMiss {
  TestId id;
  std::optional<double> half_width;
};
std::vector<PrecisionMiss> precision_misses(const RunResults& results, int passes, double percent);
