// How precise the trimmed mean a score uses is: its 95% interval
// (Student's t, Boost.Math), and the confidence every interval and decision
// of the program and tarvelin-compare is reckoned at. Shared by the program
// (the precision target, the result files) and tarvelin-compare (its
// decisions, core/ratio_decision.h).
#pragma once

#include <optional>
#include <vector>

#include "core/pass_statistics.h"

constexpr double CONFIDENCE = 0.95;

// A mean and the half-width of its 95% confidence interval as a share of
// it.
struct MeanInterval {
  double mean = 0.0;
  double relative_half_width = 0.0;
};

// That of the trimmed mean a score uses (trimmed_moments in
// core/pass_statistics.h): t(0.975, h - 1) times its standard error (Tukey
// and McLaughlin's, from the winsorized variance), over it. For 2 values it
// is the plain mean's t interval; from 4 on it is wider than the plain
// mean's for the same spread, as it rests on fewer values, and far
// narrower where one value strays. None for 3 values (whose trimmed mean is
// their median), fewer than 2, or a trimmed mean of 0 or less.
std::optional<MeanInterval> trimmed_mean_interval(const std::vector<double>& values);

// Student's t at which a two-sided interval on `freedom` degrees of freedom
// holds CONFIDENCE: t(0.975, freedom). Every interval here is that many
// standard errors wide on each side.
double interval_t(double freedom);
