// The speed ratio of two sides with what it can claim: paired rounds,
// independent trimmed means, Holm's correction and the four outcomes at
// their boundaries.
#include <gtest/gtest.h>

#include <cmath>

#include "core/confidence.h"
#include "core/ratio_decision.h"

namespace {

constexpr double T_975_2 = 4.302653;  // Student's t, 97.5th percentile, 2 degrees of freedom

TEST(PairedRatio, TakesTheLogOfEachRoundsRatioFromThreeRoundsOn) {
  // Round ratios of e^0.1, e^0.2, e^0.3 (B faster): mean 0.2, s 0.1.
  const std::vector<double> a = {std::exp(0.1), std::exp(0.2), std::exp(0.3)};
  const std::vector<double> b = {1.0, 1.0, 1.0};
  const std::optional<RatioEstimate> e = paired_ratio(a, b, false);
  ASSERT_TRUE(e);
  EXPECT_NEAR(e->ratio, std::exp(0.2), 1e-12);
  EXPECT_NEAR(e->low, std::exp(0.2 - T_975_2 * 0.1 / std::sqrt(3.0)), 1e-6);
  EXPECT_NEAR(e->high, std::exp(0.2 + T_975_2 * 0.1 / std::sqrt(3.0)), 1e-6);
  // Two-sided p of t = 2 sqrt(3) on 2 degrees of freedom: 1 - t / sqrt(t^2 + 2).
  EXPECT_NEAR(e->p_value, 1.0 - std::sqrt(12.0) / std::sqrt(14.0), 1e-9);
  // Scores the other way round give the same estimate.
  EXPECT_NEAR(paired_ratio(b, a, true)->ratio, e->ratio, 1e-12);

  EXPECT_FALSE(paired_ratio({1.0, 1.0}, {1.1, 1.1}, false));            // 2 rounds
  EXPECT_FALSE(paired_ratio({1.0, 1.0, 1.0}, {1.0, 1.0}, false));       // unpaired
  EXPECT_FALSE(paired_ratio({1.0, 0.0, 1.0}, {1.0, 1.0, 1.0}, false));  // too short to measure
  EXPECT_FALSE(paired_ratio({1.0, INFINITY, 1.0}, {1.0, 1.0, 1.0}, false));

  const RatioEstimate steady = *paired_ratio({1.0, 2.0, 4.0}, {2.0, 4.0, 8.0}, false);
  EXPECT_EQ(steady.ratio, 0.5);
  EXPECT_EQ(steady.low, steady.ratio);
  EXPECT_EQ(steady.p_value, 0.0);
  EXPECT_EQ(paired_ratio({1.0, 2.0, 3.0}, {1.0, 2.0, 3.0}, false)->p_value, 1.0);
}

TEST(TrimmedRatio, NeedsATrimmedMeansErrorOnBothSides) {
  EXPECT_FALSE(trimmed_ratio({1.0, 2.0, 3.0}, {1.0, 2.0, 3.0, 4.0}, false));  // 3: a median
  ASSERT_TRUE(trimmed_ratio({1.0, 2.0, 3.0, 4.0}, {1.0, 2.0, 3.0, 4.0}, false));
  // One wild pass on a side moves neither the ratio nor its interval much.
  const RatioEstimate e =
      *trimmed_ratio({1.0, 1.0, 1.0, 1.0, 9.0}, {1.1, 1.11, 1.09, 1.1, 1.1}, false);
  EXPECT_NEAR(e.ratio, 1.0 / 1.1, 1e-9);
  EXPECT_GT(e.low, 0.85);
  EXPECT_LT(e.high, 0.96);
  EXPECT_LT(e.p_value, 0.01);
  // Extremes that overflow the moments give nothing rather than a
  // distribution of no freedom.
  EXPECT_FALSE(trimmed_ratio({1e308, 1e308, 1.7e308, 1e308}, {1e308, 1e308, 1e308, 1.7e308}, true));
}

TEST(TrimmedMeanInterval, IsTukeyMcLaughlinsFromFourValuesOnAndThePlainMeansForTwo) {
  // Trimmed mean of {2, 3, 4}; winsorized {2, 2, 3, 4, 4} has variance 1,
  // so the squared error is 4 * 1 / (3 * 2).
  const MeanInterval five = *trimmed_mean_interval({1.0, 2.0, 3.0, 4.0, 100.0});
  EXPECT_DOUBLE_EQ(five.mean, 3.0);
  EXPECT_NEAR(five.relative_half_width, T_975_2 * std::sqrt(4.0 / 6.0) / 3.0, 1e-6);
  EXPECT_FALSE(trimmed_mean_interval({1.0, 2.0, 3.0}));
  // Two values: the plain mean's t(0.975, 1) * s / (sqrt(2) * mean), s = sqrt(2).
  EXPECT_NEAR(trimmed_mean_interval({1.0, 3.0})->relative_half_width, 12.706205 / 2.0, 1e-6);
  EXPECT_FALSE(trimmed_mean_interval({0.0, 0.0, 0.0, 0.0}));
}

TEST(HolmAdjusted, MultipliesByTheRanksLeftAndNeverFalls) {
  const std::vector<double> adjusted = holm_adjusted({0.01, 0.04, 0.03, 0.4});
  EXPECT_NEAR(adjusted[0], 0.04, 1e-12);  // 0.01 * 4
  EXPECT_NEAR(adjusted[2], 0.09, 1e-12);  // 0.03 * 3
  EXPECT_NEAR(adjusted[1], 0.09, 1e-12);  // 0.04 * 2 = 0.08, raised to the one before
  EXPECT_NEAR(adjusted[3], 0.4, 1e-12);   // 0.4 * 1
  EXPECT_EQ(holm_adjusted({0.6, 0.7}), (std::vector<double>{1.0, 1.0}));  // at most 1
  EXPECT_TRUE(holm_adjusted({}).empty());
}

RatioEstimate exact(double ratio, double p = 0.0) { return {ratio, ratio, ratio, p}; }

Change decided(const DecisionRow& row) { return decide_rows({row}, 5.0)[0].change; }

TEST(DecideRows, FourOutcomesAtTheThreshold) {
  EXPECT_EQ(decided({std::nullopt, exact(0.9499)}), Change::slower);
  EXPECT_EQ(decided({std::nullopt, exact(1.0501)}), Change::faster);
  EXPECT_EQ(decided({std::nullopt, exact(0.9501)}), Change::same);
  // Beyond T but possibly chance; not a change, and its interval is not
  // within T either.
  EXPECT_EQ(decided({std::nullopt, RatioEstimate{0.90, 0.80, 1.01, 0.06}}), Change::cannot_tell);
  // The interval just inside and just outside +-T.
  EXPECT_EQ(decided({std::nullopt, RatioEstimate{1.0, 0.9501, 1.0499, 1.0}}), Change::same);
  EXPECT_EQ(decided({std::nullopt, RatioEstimate{1.0, 0.9499, 1.0499, 1.0}}), Change::cannot_tell);
  EXPECT_EQ(decided({std::nullopt, RatioEstimate{1.0, 0.9501, 1.0501, 1.0}}), Change::cannot_tell);
  EXPECT_EQ(decided({0.95, std::nullopt}), Change::cannot_tell);
  // The ratio shown is what is weighed: a change is never inside T in it.
  EXPECT_EQ(decided({0.9501, exact(0.9499)}), Change::cannot_tell);
  EXPECT_EQ(decide_rows({{0.9501, exact(0.9499)}}, 5.0)[0].ratio, 0.9501);
}

TEST(DecideRows, CorrectsForTheNumberOfRowsWithAnEstimate) {
  const DecisionRow row{std::nullopt, RatioEstimate{0.9, 0.85, 0.97, 0.02}};
  EXPECT_EQ(decided(row), Change::slower);
  const std::vector<Decision> three = decide_rows({row, row, {0.5, std::nullopt}, row}, 5.0);
  EXPECT_EQ(three[0].change, Change::cannot_tell);
  EXPECT_NEAR(*three[0].p_value, 0.06, 1e-12);
  EXPECT_FALSE(three[2].p_value);
  EXPECT_EQ(three[2].ratio, 0.5);
}

}  // namespace
