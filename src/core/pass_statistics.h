// The statistics of a sample of pass times, in one place for every user:
// the verdict's steadiness check, the result files, the precision target
// (core/confidence.h) and tarvelin-compare all reckon with these.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// Fewer passes than this give no decision, never meet a precision target
// and are not judged for steadiness: two values say little about their
// spread.
constexpr int MIN_DECIDING_PASSES = 3;

// The fewest passes whose trimmed mean has an interval (trimmed_moments
// below): 3 passes' trimmed mean is their median, which has none. So a
// precision target is met, and two runs' trimmed means are weighed against
// each other, from this many passes on.
constexpr int MIN_INTERVAL_PASSES = MIN_DECIDING_PASSES + 1;

// The mean and the sample variance (over n - 1) of the values. The caller
// gives at least 2 values: from fewer the variance is not a number (and
// from none the mean too).
struct Moments {
  double mean = 0.0;
  double variance = 0.0;
};
Moments moments(const std::vector<double>& values);

// The mean alone; 0 for no values.
double mean_of(const std::vector<double>& values);

// The mean a score uses: from 3 values on without one smallest and one
// largest (also when several share that value), else the plain mean. The
// caller gives at least 1 value.
double trimmed_mean_of(const double* values, size_t n);

// How precisely that trimmed mean is known (Tukey and McLaughlin): its
// squared standard error, (n - 1) s_w^2 / (h (h - 1)), with s_w^2 the
// variance of the values winsorized as they were trimmed (the smallest set
// to the next smallest, the largest to the next largest) and h the values
// the mean kept, and the degrees of freedom of its t interval, h - 1. For
// fewer than 3 values nothing is trimmed and these are the plain mean's.
// None where h is below 2: 3 values (whose trimmed mean is their median)
// or fewer than 2.
struct TrimmedMoments {
  double mean = 0.0;
  double squared_error = 0.0;
  double freedom = 0.0;
};
std::optional<TrimmedMoments> trimmed_moments(const std::vector<double>& values);

// The sample standard deviation over the mean. None for fewer than 2 values
// or a mean of 0 or less (pass times are never below 0, so the latter means
// every value is 0).
std::optional<double> coefficient_of_variation(const std::vector<double>& values);

// The least-squares line through values at 0, 1, ...: its rise from the
// first to the last place as a share of its value at the first (0 where
// that is not above 0), and the correlation coefficient. Both are 0 when
// the values or their places do not vary (fewer than 2 values).
struct Trend {
  double rise = 0.0;
  double correlation = 0.0;
};
Trend trend_of(const std::vector<double>& values);
