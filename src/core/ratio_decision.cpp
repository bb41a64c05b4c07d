#include "core/ratio_decision.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <numeric>

#include "core/confidence.h"
#include "core/pass_statistics.h"

namespace {

bool usable(const std::vector<double>& values) {
  return std::all_of(values.begin(), values.end(),
                     [](double value) { return std::isfinite(value) && value > 0.0; });
}

// The estimate of a log ratio `log_ratio` with standard error `error` on
// `freedom` degrees of freedom. None where the figures are not finite (a
// damaged file's extremes), so that no caller meets a distribution of no
// freedom.
std::optional<RatioEstimate> from_log(double log_ratio, double error, double freedom) {
  if (!std::isfinite(log_ratio) || !std::isfinite(error) || !(freedom >= 1.0) ||
      !std::isfinite(freedom)) {
    return std::nullopt;
  }
  RatioEstimate estimate;
  estimate.ratio = std::exp(log_ratio);
  if (error == 0.0) {
    estimate.low = estimate.high = estimate.ratio;
    estimate.p_value = log_ratio == 0.0 ? 1.0 : 0.0;
    return estimate;
  }
  const double t = interval_t(freedom);
  const boost::math::students_t distribution(freedom);
  estimate.low = std::exp(log_ratio - t * error);
  estimate.high = std::exp(log_ratio + t * error);
  estimate.p_value =
      2.0 * boost::math::cdf(boost::math::complement(distribution, std::fabs(log_ratio / error)));
  return estimate;
}

}  // namespace

const char* change_name(Change change) {
  switch (change) {
    case Change::same:
      return "same";
    case Change::slower:
      return "slower";
    case Change::faster:
      return "faster";
    case Change::cannot_tell:
      break;
  }
  return "cannot tell";
}

std::optional<RatioEstimate> paired_ratio(const std::vector<double>& first,
                                          const std::vector<double>& later, bool higher_is_faster) {
  if (first.size() != later.size() || first.size() < MIN_DECIDING_PASSES || !usable(first) ||
      !usable(later)) {
    return std::nullopt;
  }
  std::vector<double> logs(first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    const double speed_up = higher_is_faster ? later[i] / first[i] : first[i] / later[i];
    logs[i] = std::log(speed_up);
  }
  const Moments m = moments(logs);
  const double n = static_cast<double>(logs.size());
  return from_log(m.mean, std::sqrt(m.variance / n), n - 1.0);
}

std::optional<RatioEstimate> trimmed_ratio(const std::vector<double>& first,
                                           const std::vector<double>& later,
                                           bool higher_is_faster) {
  if (first.size() < MIN_DECIDING_PASSES || later.size() < MIN_DECIDING_PASSES || !usable(first) ||
      !usable(later)) {
    return std::nullopt;
  }
  const std::optional<TrimmedMoments> a = trimmed_moments(first);
  const std::optional<TrimmedMoments> b = trimmed_moments(later);
  if (!a || !b) return std::nullopt;
  // The variance of a log is the relative variance of what it is the log of.
  const double va = a->squared_error / (a->mean * a->mean);
  const double vb = b->squared_error / (b->mean * b->mean);
  const double log_ratio = higher_is_faster ? std::log(b->mean) - std::log(a->mean)
                                            : std::log(a->mean) - std::log(b->mean);
  const double sum = va + vb;
  const double freedom = sum == 0.0 ? a->freedom + b->freedom
                                    : sum * sum / (va * va / a->freedom + vb * vb / b->freedom);
  return from_log(log_ratio, std::sqrt(sum), freedom);
}

std::vector<double> holm_adjusted(const std::vector<double>& p_values) {
  const size_t m = p_values.size();
  std::vector<size_t> order(m);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return p_values[a] < p_values[b]; });
  std::vector<double> adjusted(m);
  double running = 0.0;
  for (size_t k = 0; k < m; ++k) {
    running = std::max(running, std::min(1.0, static_cast<double>(m - k) * p_values[order[k]]));
    adjusted[order[k]] = running;
  }
  return adjusted;
}

std::vector<Decision> decide_rows(const std::vector<DecisionRow>& rows, double threshold_percent) {
  std::vector<double> p_values;
  for (const DecisionRow& row : rows) {
    if (row.estimate) p_values.push_back(row.estimate->p_value);
  }
  const std::vector<double> adjusted = holm_adjusted(p_values);
  const double lowest = 1.0 - threshold_percent / 100.0;
  const double highest = 1.0 + threshold_percent / 100.0;
  std::vector<Decision> decisions;
  size_t next = 0;
  for (const DecisionRow& row : rows) {
    Decision decision;
    decision.ratio = row.shown_ratio.value_or(row.estimate ? row.estimate->ratio : 0.0);
    decision.why_no_estimate = row.why_no_estimate;
    if (row.estimate) {
      decision.low = row.estimate->low;
      decision.high = row.estimate->high;
      decision.p_value = adjusted[next++];
      const bool not_chance = *decision.p_value < 1.0 - CONFIDENCE;
      if (not_chance && decision.ratio < lowest) {
        decision.change = Change::slower;
      } else if (not_chance && decision.ratio > highest) {
        decision.change = Change::faster;
      } else if (*decision.low >= lowest && *decision.high <= highest) {
        decision.change = Change::same;
      }
    }
    decisions.push_back(decision);
  }
  return decisions;
}
