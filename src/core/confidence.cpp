#include "core/confidence.h"

#include <boost/math/distributions/students_t.hpp>
#include <cmath>

std::optional<MeanInterval> trimmed_mean_interval(const std::vector<double>& values) {
  const std::optional<TrimmedMoments> m = trimmed_moments(values);
  if (!m || !(m->mean > 0.0)) return std::nullopt;
  return MeanInterval{m->mean, interval_t(m->freedom) * std::sqrt(m->squared_error) / m->mean};
}

double interval_t(double freedom) {
  const boost::math::students_t distribution(freedom);
  return boost::math::quantile(distribution, 1.0 - (1.0 - CONFIDENCE) / 2.0);
}
