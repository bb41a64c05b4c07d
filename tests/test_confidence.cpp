// The statistics of pass times: their moments, spread and trend, and the
// comparison's decision whether a later run differs from the first.
#include <gtest/gtest.h>

#include <string>

#include "compare/run_changes.h"
#include "core/pass_statistics.h"

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

// A run whose tests take the seconds given, each scored as its file would
// score it (reference 1 s) unless `scores` says otherwise.
RunFile run_of(const std::vector<std::vector<double>>& seconds,
               const std::vector<double>& scores = {}) {
  RunFile run;
  for (size_t i = 0; i < seconds.size(); ++i) {
    TestResult test;
    test.keyword = "test" + std::to_string(i);
    test.pass_seconds = seconds[i];
    test.score = i < scores.size() ? scores[i]
                                   : 100.0 / trimmed_mean_of(seconds[i].data(), seconds[i].size());
    run.places[test.keyword] = i;
    run.tests.push_back(test);
  }
  return run;
}

std::vector<double> times(const std::vector<double>& seconds, double factor) {
  std::vector<double> scaled = seconds;
  for (double& value : scaled) value *= factor;
  return scaled;
}

Decision first_test(const RunFile& first, const RunFile& later, double threshold) {
  return *decide_changes({first, later}, threshold).runs[1].tests[0];
}

TEST(DecideChanges, WeighsTheTrimmedMeansThatTheScoresUse) {
  // Two wild passes among twenty: the plain means 12.5% apart and, by
  // Welch's test, not by chance; the trimmed means, whose ratio the table
  // shows, 8.4% apart, which cannot be told from chance.
  std::vector<double> first, later;
  for (int i = 0; i < 20; ++i) first.push_back(i % 2 ? 1.005 : 0.995);
  for (int i = 0; i < 18; ++i) later.push_back(i % 2 ? 1.055 : 1.045);
  later.insert(later.begin() + 5, 1.8);
  later.insert(later.begin() + 12, 1.8);
  EXPECT_GT(mean_of(later) / mean_of(first), 1.10);
  const Decision wild = first_test(run_of({first}), run_of({later}), 10.0);
  EXPECT_EQ(wild.change, Change::cannot_tell);
  EXPECT_NEAR(wild.ratio, 0.9158, 1e-4);
  EXPECT_LT(*wild.low, 0.9);
  EXPECT_GT(*wild.high, 1.0);
  // A 50% slowdown is told from 4 passes on a side, not from 3.
  const std::vector<double> four = {1.0, 1.01, 0.99, 1.0};
  const std::vector<double> three = {1.0, 1.01, 0.99};
  EXPECT_EQ(first_test(run_of({four}), run_of({times(four, 1.5)}), 5.0).change, Change::slower);
  const Decision few = first_test(run_of({three}), run_of({times(four, 1.5)}), 5.0);
  EXPECT_EQ(few.change, Change::cannot_tell);
  EXPECT_FALSE(few.low || few.p_value);
}

TEST(DecideChanges, ADecidedChangeIsNeverInsideTheThresholdInTheRatioShown) {
  const std::vector<double> first = {1.0, 1.001, 0.999, 1.0, 1.0005};
  // x0.9506 is inside 5% (with its interval reaching beyond: cannot tell),
  // x0.9488 beyond it.
  EXPECT_EQ(first_test(run_of({first}), run_of({times(first, 1.052)}), 5.0).change,
            Change::cannot_tell);
  EXPECT_EQ(first_test(run_of({first}), run_of({times(first, 1.054)}), 5.0).change, Change::slower);
  // Passes 10% slower in a file whose scores say 4%: the scores' ratio is
  // what the table shows and what is weighed.
  const Decision shown =
      first_test(run_of({first}, {100.0}), run_of({times(first, 1.1)}, {96.0}), 5.0);
  EXPECT_NE(shown.change, Change::slower);
  EXPECT_DOUBLE_EQ(shown.ratio, 0.96);
}

TEST(DecideChanges, CorrectsForEveryTestAndTotalOfARun) {
  // A slowdown of 20% whose p (0.034) is below 0.05 alone.
  const std::vector<double> first = {1.0, 1.2, 0.8, 1.1, 0.9, 1.0};
  const std::vector<double> later = times(first, 1.25);
  const Decision alone = first_test(run_of({first}), run_of({later}), 5.0);
  EXPECT_EQ(alone.change, Change::slower);
  EXPECT_NEAR(*alone.p_value, 0.034, 0.001);
  // Three such tests: each p three times over, and none decided.
  const Changes three =
      decide_changes({run_of({first, first, first}), run_of({later, later, later})}, 5.0);
  for (const std::optional<Decision>& decision : three.runs[1].tests) {
    EXPECT_EQ(decision->change, Change::cannot_tell);
    EXPECT_NEAR(*decision->p_value, 3.0 * *alone.p_value, 1e-9);
  }
  // A full total is a row too: its values as high as the test's seconds.
  RunFile first_run = run_of({first});
  RunFile later_run = run_of({later});
  first_run.total_3d = {100.0, std::nullopt, first};
  later_run.total_3d = {125.0, std::nullopt, later};
  const Changes changes = decide_changes({first_run, later_run}, 5.0);
  const RunChanges& with_total = changes.runs[1];
  EXPECT_EQ(with_total.tests[0]->change, Change::cannot_tell);
  EXPECT_EQ(with_total.total_3d->change, Change::cannot_tell);
  EXPECT_NEAR(*with_total.total_3d->p_value, 2.0 * *alone.p_value, 1e-9);
  EXPECT_FALSE(with_total.total_2d);  // no total, no row
}

}  // namespace
