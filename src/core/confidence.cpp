#include "core/confidence.h"

#include <boost/math/distributions/students_t.hpp>
#include <cmath>

std::optional<MeanInterval> mean_interval(const std::vector<double>& values) {
  if (values.size() < 2) return std::nullopt;
  const Moments m = moments(values);
  if (!(m.mean > 0.0)) return std::nullopt;
  const double n = static_cast<double>(values.size());
  const boost::math::students_t distribution(n - 1.0);
  const double t = boost::math::quantile(distribution, 1.0 - (1.0 - CONFIDENCE) / 2.0);
  return MeanInterval{m.mean, t * std::sqrt(m.variance / n) / m.mean};
}

std::optional<MeanInterval> trimmed_mean_interval(const std::vector<double>& values) {
  const std::optional<TrimmedMoments> m = trimmed_moments(values);
  if (!m || !(m->mean > 0.0)) return std::nullopt;
  const boost::math::students_t distribution(m->freedom);
  const double t = boost::math::quantile(distribution, 1.0 - (1.0 - CONFIDENCE) / 2.0);
  return MeanInterval{m->mean, t * std::sqrt(m->squared_error) / m->mean};
}

std::optional<double> welch_p_value(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() < 2 || b.size() < 2) return std::nullopt;
  const Moments ma = moments(a);
  const Moments mb = moments(b);
  const double va = ma.variance / static_cast<double>(a.size());
  const double vb = mb.variance / static_cast<double>(b.size());
  if (va + vb == 0.0) return ma.mean == mb.mean ? 1.0 : 0.0;
  const double t = (ma.mean - mb.mean) / std::sqrt(va + vb);
  const double freedom =
      (va + vb) * (va + vb) /
      (va * va / static_cast<double>(a.size() - 1) + vb * vb / static_cast<double>(b.size() - 1));
  const boost::math::students_t distribution(freedom);
  return 2.0 * boost::math::cdf(boost::math::complement(distribution, std::fabs(t)));
}

Decision decide(const std::vector<double>& first, const std::vector<double>& later,
                double threshold_percent, bool higher_is_faster) {
  Decision decision;
  if (first.empty() || later.empty()) return decision;
  const double first_mean = mean_of(first);
  const double later_mean = mean_of(later);
  if (first_mean > 0.0) decision.ratio = later_mean / first_mean;
  if (first.size() < MIN_DECIDING_PASSES || later.size() < MIN_DECIDING_PASSES ||
      !(first_mean > 0.0)) {
    return decision;
  }
  decision.p_value = welch_p_value(first, later);
  const bool large = std::fabs(decision.ratio - 1.0) * 100.0 > threshold_percent;
  const bool not_chance = *decision.p_value < 1.0 - CONFIDENCE;
  if (!large || !not_chance) {
    decision.change = Change::same;
  } else {
    const bool higher = decision.ratio > 1.0;
    decision.change = higher == higher_is_faster ? Change::faster : Change::slower;
  }
  return decision;
}
