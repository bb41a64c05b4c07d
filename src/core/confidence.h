// How precise a mean of pass times is, and whether two runs differ by more
// than chance: Student's t interval of a mean and Welch's t-test, both at
// 95% (Boost.Math). Shared by the program (the precision target, the
// result files) and tarvelin-compare (its decisions).
#pragma once

#include <optional>
#include <vector>

#include "core/pass_statistics.h"
#include "core/ratio_decision.h"

constexpr double CONFIDENCE = 0.95;

// The mean of the values and the half-width of its 95% confidence interval
// as a share of the mean: t(0.975, n - 1) * s / (sqrt(n) * mean), with s
// the sample standard deviation. None for fewer than 2 values or a mean of
// 0 or less.
struct MeanInterval {
  double mean = 0.0;
  double relative_half_width = 0.0;
};
std::optional<MeanInterval> mean_interval(const std::vector<double>& values);

// The same for the trimmed mean a score uses (trimmed_moments in
// core/pass_statistics.h): t(0.975, h - 1) times its standard error, over
// it. From 3 values on that is wider than the plain mean's for the same
// spread, as it rests on fewer values; none for 3 values, fewer than 2, or
// a trimmed mean of 0 or less.
std::optional<MeanInterval> trimmed_mean_interval(const std::vector<double>& values);

// Welch's t-test of whether two samples have the same mean: the two-sided
// p-value, with the Welch-Satterthwaite degrees of freedom. Samples without
// spread on either side give 1 for equal means and 0 for different ones.
// None for fewer than 2 values on a side.
std::optional<double> welch_p_value(const std::vector<double>& a, const std::vector<double>& b);

// A change counts only when the means differ by more than threshold_percent
// of the first and Welch's test finds it unlikely to be chance (p below
// 1 - CONFIDENCE); with fewer than MIN_DECIDING_PASSES values on either
// side it cannot be told. `higher_is_faster`: the values are scores or
// totals rather than seconds.
Decision decide(const std::vector<double>& first, const std::vector<double>& later,
                double threshold_percent, bool higher_is_faster);
