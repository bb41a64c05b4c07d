// When a run with a precision target stops: for each rule the last pass
// that goes on and the first that stops.
#include <gtest/gtest.h>

#include <memory>

#include "app/precision_policy.h"
#include "core/pass_statistics.h"

namespace {

constexpr double NO_TIME = 0.0;

RunOptions precise(int loops_given = 0, double budget = 0.0) {
  RunOptions options;
  options.precision_percent = 2.0;
  options.budget_seconds = budget;
  options.loops_given = loops_given != 0;
  options.loops = loops_given;
  return options;
}

// Every test takes 1 s a pass, the first 1 s or `spread` more on odd passes.
std::unique_ptr<RunResults> times(double spread) {
  auto results = std::make_unique<RunResults>();
  for (auto& slots : results->test_times) {
    for (int pass = 0; pass < TIME_SLOTS; ++pass) slots[pass] = 1.0;
  }
  for (int pass = 1; pass < TIME_SLOTS; pass += 2) results->test_times[0][pass] += spread;
  return results;
}

TEST(PrecisionPassLimit, LoopClampedToTheTimeSlotsElseAllOfThem) {
  EXPECT_EQ(precision_pass_limit(precise()), TIME_SLOTS);
  EXPECT_EQ(precision_pass_limit(precise(-1)), 1);
  EXPECT_EQ(precision_pass_limit(precise(1)), 1);
  EXPECT_EQ(precision_pass_limit(precise(TIME_SLOTS)), TIME_SLOTS);
  EXPECT_EQ(precision_pass_limit(precise(TIME_SLOTS + 1)), TIME_SLOTS);
}

TEST(PrecisionStop, TheTargetIsMetFromMinIntervalPassesOn) {
  // 3 passes' trimmed mean, their median, has no interval.
  const auto steady = times(0.0);
  EXPECT_EQ(precision_stop(precise(), *steady, MIN_INTERVAL_PASSES - 1, NO_TIME), "");
  EXPECT_EQ(precision_stop(precise(), *steady, MIN_INTERVAL_PASSES, NO_TIME), "target met");
  // One test far beyond 2% keeps the run going.
  const auto unsteady = times(0.5);
  EXPECT_EQ(precision_stop(precise(), *unsteady, MIN_INTERVAL_PASSES, NO_TIME), "");
  // A test passed over is not waited for.
  unsteady->saved_skip_flags[0] = PASSED_OVER;
  EXPECT_EQ(precision_stop(precise(), *unsteady, MIN_INTERVAL_PASSES, NO_TIME), "target met");
}

TEST(PrecisionStop, TheBudgetGivenOrTheDefaultIsSpent) {
  const auto unsteady = times(0.5);
  EXPECT_EQ(precision_stop(precise(0, 30.0), *unsteady, 4, 29.999), "");
  EXPECT_EQ(precision_stop(precise(0, 30.0), *unsteady, 4, 30.0), "budget spent");
  EXPECT_EQ(precision_stop(precise(), *unsteady, 4, DEFAULT_BUDGET_SECONDS - 0.001), "");
  EXPECT_EQ(precision_stop(precise(), *unsteady, 4, DEFAULT_BUDGET_SECONDS), "budget spent");
  // The target is told before the budget.
  EXPECT_EQ(precision_stop(precise(), *times(0.0), 4, DEFAULT_BUDGET_SECONDS), "target met");
}

TEST(PrecisionStop, ThePassesAllowedAreDone) {
  const auto unsteady = times(0.5);
  EXPECT_EQ(precision_stop(precise(5), *unsteady, 4, NO_TIME), "");
  EXPECT_EQ(precision_stop(precise(5), *unsteady, 5, NO_TIME), "passes allowed done");
  EXPECT_EQ(precision_stop(precise(), *unsteady, TIME_SLOTS - 1, NO_TIME), "");
  EXPECT_EQ(precision_stop(precise(), *unsteady, TIME_SLOTS, NO_TIME), "passes allowed done");
  // The budget is told before the passes.
  EXPECT_EQ(precision_stop(precise(5), *unsteady, 5, DEFAULT_BUDGET_SECONDS), "budget spent");
}

}  // namespace
