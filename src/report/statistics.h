// What the result files say of one test: what became of it and the spread
// of its pass times, besides the score the report shows.
#pragma once

#include <optional>
#include <vector>

#include "core/catalogue.h"
#include "core/run_options.h"
#include "core/run_results.h"

enum class TestStatus {
  timed,
  skipped_by_check,  // its automatic check found what it measures missing or without effect
  left_out,          // the pass definition passed over it
  not_run,           // status-only mode: no test ran
};

// The name the result files give a status, e.g. "skipped_by_check".
const char* test_status_name(TestStatus status);

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
