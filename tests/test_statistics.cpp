// What the result files say of a test's and a total's precision: the
// interval of the trimmed mean the score uses, and the precision target it
// meets from 4 passes on.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>

#include "core/confidence.h"
#include "report/result_files.h"
#include "report/statistics.h"

namespace {

constexpr TestId TEST = static_cast<TestId>(0);

// Every test takes 1 s a pass; test TEST takes `seconds` in the first slots.
std::unique_ptr<RunResults> timed(const std::vector<double>& seconds) {
  auto results = std::make_unique<RunResults>();
  for (auto& slots : results->test_times) {
    for (int pass = 0; pass < TIME_SLOTS; ++pass) slots[pass] = 1.0;
  }
  for (size_t pass = 0; pass < seconds.size(); ++pass)
    results->test_times[TEST][pass] = seconds[pass];
  return results;
}

RunOptions passes(int loops, double precision_percent = 0.0) {
  RunOptions options;
  options.loops = loops;
  options.precision_percent = precision_percent;
  return options;
}

TEST(SummarizeTest, TheIntervalIsTheTrimmedMeansThatTheScoreUses) {
  // One wild pass among five: it widens the plain mean's interval beyond
  // the whole score, and the trimmed mean's hardly.
  const std::vector<double> seconds = {1.0, 1.01, 0.99, 1.0, 5.0};
  const TestSummary summary = summarize_test(passes(5), *timed(seconds), TEST);
  ASSERT_TRUE(summary.ci_half_width && summary.score);
  // The plain mean's: t(0.975, 4) * s / (sqrt(5) * mean).
  const Moments plain = moments(seconds);
  EXPECT_GT(2.776445 * std::sqrt(plain.variance / 5.0) / plain.mean, 1.0);
  EXPECT_DOUBLE_EQ(*summary.ci_half_width, trimmed_mean_interval(seconds)->relative_half_width);
  EXPECT_LT(*summary.ci_half_width, 0.03);
  EXPECT_DOUBLE_EQ(*summary.score_low, *summary.score / (1.0 + *summary.ci_half_width));
  EXPECT_DOUBLE_EQ(*summary.score_high, *summary.score / (1.0 - *summary.ci_half_width));
  // Three passes' trimmed mean is their median: no interval, no bounds.
  const TestSummary three = summarize_test(passes(3), *timed({1.0, 1.01, 0.99}), TEST);
  EXPECT_TRUE(three.score);
  EXPECT_FALSE(three.ci_half_width || three.score_low || three.score_high);
}

TEST(PrecisionMet, FromFourPassesOnWithinTheTarget) {
  // Steady passes meet any target from 4 on, not with 3.
  const auto steady = timed({});
  EXPECT_FALSE(*summarize_test(passes(3, 2.0), *steady, TEST).precision_met);
  EXPECT_TRUE(*summarize_test(passes(4, 2.0), *steady, TEST).precision_met);
  ASSERT_EQ(precision_misses(*steady, 3, 2.0).size(), static_cast<size_t>(TEST_COUNT));
  EXPECT_FALSE(precision_misses(*steady, 3, 2.0)[0].half_width);
  EXPECT_TRUE(precision_misses(*steady, 4, 2.0).empty());
  EXPECT_FALSE(summarize_test(passes(4), *steady, TEST).precision_met);  // no target
  // Each condition alone fails it: the half-width at the target and just
  // beyond, too few passes, no interval.
  EXPECT_TRUE(precision_met(0.02, 4, 2.0));
  EXPECT_FALSE(precision_met(0.0201, 4, 2.0));
  EXPECT_FALSE(precision_met(0.0, 3, 2.0));
  EXPECT_FALSE(precision_met(std::nullopt, 4, 2.0));
}

TEST(ResultsJson, ATotalsIntervalIsThatOfItsTrimmedPassValues) {
  // Every test twice as slow in the last of five passes: each pass value
  // but that one is the same, so the trimmed mean has no spread where the
  // plain mean has.
  auto results = timed({});
  for (auto& slots : results->test_times) slots[4] = 2.0;
  const auto json = nlohmann::json::parse(
      results_json(passes(5), EnvironmentInfo{}, *results, RunRecord{}, nullptr));
  for (const char* group : {"3D", "2D"}) {
    const auto& total = json["totals"][group];
    ASSERT_EQ(total["pass_values"].size(), 5u);
    EXPECT_NEAR(total["ci_half_width"].get<double>(), 0.0, 1e-12) << group;
    const double value = total["total"].get<double>();
    EXPECT_NEAR(total["low"].get<double>(), value, value * 1e-12) << group;
    EXPECT_NEAR(total["high"].get<double>(), value, value * 1e-12) << group;
  }
  EXPECT_NEAR(json["tests"][0]["ci_half_width"].get<double>(), 0.0, 1e-12);
  // Three passes: no interval for a total either.
  const auto three = nlohmann::json::parse(
      results_json(passes(3), EnvironmentInfo{}, *results, RunRecord{}, nullptr));
  EXPECT_TRUE(three["totals"]["3D"]["ci_half_width"].is_null());
  EXPECT_TRUE(three["totals"]["3D"]["low"].is_null());
}

}  // namespace
