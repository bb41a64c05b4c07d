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
  std::optional<double> cv;     // sample standard deviation over the mean; 2 passes or more
  std::optional<double> score;  // as the report's; none unless timed and measurable
};

// The summary of test `id` after the run: skipped tests are told apart by
// whether the pass definition or a check passed them over.
TestSummary summarize_test(const RunOptions& options, const RunResults& results, TestId id);
