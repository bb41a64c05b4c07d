// The statistics of pass times: their moments, spread and trend, the
// precision of their mean and the decision whether a later run differs
// from the first.
#include <gtest/gtest.h>

#include "core/confidence.h"

namespace {

TEST(PassStatistics, MomentsAndTheCoefficientOfVariationFromTwoValues) {
  const Moments m = moments({1.0, 2.0, 3.0});
  EXPECT_DOUBLE_EQ(m.mean, 2.0);
  EXPECT_DOUBLE_EQ(m.variance, 1.0);  // over n - 1
  EXPECT_DOUBLE_EQ(mean_of({}), 0.0);
  EXPECT_DOUBLE_EQ(*coefficient_of_variation({1.0, 2.0, 3.0}), 0.5);
  // The last count without a spread and the first with one.
  EXPECT_FALSE(coefficient_of_variation({2.0}));
  EXPECT_DOUBLE_EQ(*coefficient_of_variation({2.0, 2.0}), 0.0);
  EXPECT_FALSE(coefficient_of_variation({0.0, 0.0}));
}

TEST(PassStatistics, TrendRisesAsAShareOfItsFirstValue) {
  // The line 1, 1.1, 1.2, 1.3: a rise of 0.3 over 1, a perfect fit.
  const Trend rising = trend_of({1.0, 1.1, 1.2, 1.3});
  EXPECT_NEAR(rising.rise, 0.3, 1e-12);
  EXPECT_NEAR(rising.correlation, 1.0, 1e-12);
  EXPECT_LT(trend_of({3.0, 2.0, 1.0}).correlation, -0.999);
  // Nothing to fit: no places, or values that do not vary.
  for (const std::vector<double>& flat : {std::vector<double>{}, {5.0}, {2.0, 2.0, 2.0}}) {
    EXPECT_EQ(trend_of(flat).rise, 0.0);
    EXPECT_EQ(trend_of(flat).correlation, 0.0);
  }
  // A line that starts at or below 0 has no share to rise by.
  EXPECT_EQ(trend_of({0.0, 1.0}).rise, 0.0);
}

TEST(MeanInterval, StudentsTOverTheSampleSpread) {
  // Mean 2, s = 1, n = 3: t(0.975, 2) = 4.302653, over sqrt(3) * 2.
  const std::optional<MeanInterval> interval = mean_interval({1.0, 2.0, 3.0});
  ASSERT_TRUE(interval);
  EXPECT_DOUBLE_EQ(interval->mean, 2.0);
  EXPECT_NEAR(interval->relative_half_width, 1.2420689, 1e-6);
  EXPECT_EQ(mean_interval({2.0, 2.0})->relative_half_width, 0.0);
  EXPECT_FALSE(mean_interval({2.0}));
  EXPECT_FALSE(mean_interval({0.0, 0.0}));
}

TEST(WelchTest, AKnownExampleAndSamplesWithoutSpread) {
  // Two samples of 15 with unequal spread: t = -2.46, 24.9 degrees of
  // freedom, p = 0.021.
  const std::vector<double> a = {27.5, 21.0, 19.0, 23.6, 17.0, 17.9, 16.9, 20.1,
                                 21.9, 22.6, 23.1, 19.6, 19.0, 21.7, 21.4};
  const std::vector<double> b = {27.1, 22.0, 20.8, 23.4, 23.4, 23.5, 25.8, 22.0,
                                 24.8, 20.2, 21.9, 22.1, 22.9, 20.5, 24.4};
  EXPECT_NEAR(*welch_p_value(a, b), 0.021, 0.001);
  EXPECT_EQ(*welch_p_value({1.0, 1.0}, {1.0, 1.0}), 1.0);
  EXPECT_EQ(*welch_p_value({1.0, 1.0}, {2.0, 2.0}), 0.0);
  EXPECT_FALSE(welch_p_value({1.0}, {1.0, 2.0}));
}

TEST(Decide, AChangeCountsWhenLargeAndUnlikelyToBeChance) {
  const std::vector<double> first = {1.00, 1.01, 0.99, 1.00, 1.01};
  // Equal runs.
  EXPECT_EQ(decide(first, first, 5.0, false).change, Change::same);
  // 10% more time with 1% noise: slower; as a score, higher is faster.
  const std::vector<double> slower = {1.10, 1.11, 1.09, 1.10, 1.11};
  const Decision decided = decide(first, slower, 5.0, false);
  EXPECT_EQ(decided.change, Change::slower);
  EXPECT_NEAR(decided.ratio, 1.102 / 1.002, 1e-9);
  EXPECT_LT(*decided.p_value, 0.05);
  EXPECT_EQ(decide(first, slower, 5.0, true).change, Change::faster);
  // 10% inside noise of 30%: not told from chance.
  EXPECT_EQ(decide({0.7, 1.3, 1.0, 0.8, 1.2}, {0.77, 1.43, 1.1, 0.88, 1.32}, 5.0, false).change,
            Change::same);
  // Below the threshold, however sure: the same. Just above it: decided.
  EXPECT_EQ(decide(first, {1.04, 1.05, 1.03, 1.04, 1.05}, 5.0, false).change, Change::same);
  EXPECT_EQ(decide({1.0, 1.0, 1.0}, {1.0501, 1.0501, 1.0501}, 5.0, false).change, Change::slower);
  // Fewer than 3 passes on either side.
  EXPECT_EQ(decide({1.0, 1.0}, slower, 5.0, false).change, Change::cannot_tell);
  EXPECT_EQ(decide(first, {1.1, 1.1}, 5.0, false).change, Change::cannot_tell);
  EXPECT_STREQ(change_name(Change::cannot_tell), "cannot tell");
}

}  // namespace
