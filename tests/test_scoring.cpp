// Scores from the measured time slots.
#include <gtest/gtest.h>

#include <cmath>

#include "core/run_options.h"
#include "report/scoring.h"

namespace {

struct Slots {
  double value[TIME_SLOTS] = {};
};

TEST(ScoreTrimmedMean, LeavesOutOneSmallestAndOneLargestFromThreeSlots) {
  const Slots times{{3.0, 1.0, 2.0, 2.0, 2.0}};
  EXPECT_EQ(compute_score(times.value, 4.0, 5, false), 200.0);

  // Only one of the equal extremes goes: (1 + 3) / 2.
  const Slots ties{{1.0, 1.0, 3.0, 3.0}};
  EXPECT_EQ(compute_score(ties.value, 4.0, 4, false), 200.0);

  const Slots three{{30.0, 2.0, 1.0}};
  EXPECT_EQ(compute_score(three.value, 4.0, 3, false), 200.0);
}

TEST(ScoreTrimmedMean, OneOrTwoSlotsGiveThePlainMean) {
  const Slots times{{1.0, 3.0, 1000.0}};
  EXPECT_EQ(compute_score(times.value, 4.0, 2, false), 200.0);
  EXPECT_EQ(compute_score(times.value, 4.0, 1, false), 400.0);
}

TEST(ScoreTrimmedMean, LoopCountZeroUsesTheOnePassThatRan) {
  const Slots times{{2.0, 1000.0}};
  EXPECT_EQ(compute_score(times.value, 4.0, 0, false), 200.0);
}

TEST(ScoreTrimmedMean, MoreLoopsThanSlotsUseAllFiftySlots) {
  Slots times;
  for (double& slot : times.value) slot = 1.0;
  times.value[TIME_SLOTS - 3] = times.value[TIME_SLOTS - 2] = times.value[TIME_SLOTS - 1] = 4.0;
  // 47 slots of 1 and 3 of 4, without one of each: 54 / 48.
  EXPECT_DOUBLE_EQ(compute_score(times.value, 4.0, 60, false), 4.0 / (54.0 / 48.0) * 100.0);
  EXPECT_DOUBLE_EQ(compute_score(times.value, 4.0, 50, false), 4.0 / (54.0 / 48.0) * 100.0);
}

TEST(ScoreQuarterMode, AQuarterOfTheReferenceTimeScoresHundred) {
  const Slots times{{0.5}};
  EXPECT_EQ(compute_score(times.value, 2.0, 1, true), 100.0);
  EXPECT_EQ(compute_score(times.value, 2.0, 1, false), 400.0);
}

TEST(ScoreZeroMean, IsInfiniteAndNotMeasured) {
  const Slots never{};
  EXPECT_TRUE(std::isinf(compute_score(never.value, 4.0, 1, false)));
  const Slots middle_zero{{0.0, 0.0, 5.0}};
  const double score = compute_score(middle_zero.value, 4.0, 3, false);
  EXPECT_TRUE(std::isinf(score));
  EXPECT_FALSE(is_measured_score(score));
  const Slots smallest_zero{{0.0, 5.0, 5.0}};
  EXPECT_TRUE(is_measured_score(compute_score(smallest_zero.value, 4.0, 3, false)));
}

}  // namespace
