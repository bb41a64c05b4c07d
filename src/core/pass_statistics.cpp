#include "core/pass_statistics.h"

#include <cmath>

Moments moments(const std::vector<double>& values) {
  Moments m;
  const double n = static_cast<double>(values.size());
  m.mean = mean_of(values);
  for (double value : values) m.variance += (value - m.mean) * (value - m.mean) / (n - 1.0);
  return m;
}

// Each value divided before it is added, as the confidence intervals and
// tarvelin-compare's decisions have always reckoned it: their results from
// the same result files stay the same to the last digit.
double mean_of(const std::vector<double>& values) {
  double mean = 0.0;
  for (double value : values) mean += value / static_cast<double>(values.size());
  return mean;
}

std::optional<double> coefficient_of_variation(const std::vector<double>& values) {
  if (values.size() < 2) return std::nullopt;
  const Moments m = moments(values);
  if (!(m.mean > 0.0)) return std::nullopt;
  return std::sqrt(m.variance) / m.mean;
}

Trend trend_of(const std::vector<double>& values) {
  const double n = static_cast<double>(values.size());
  const double mean_x = (n - 1.0) / 2.0, mean_y = mean_of(values);
  double sxy = 0.0, sxx = 0.0, syy = 0.0;
  for (size_t i = 0; i < values.size(); ++i) {
    const double dx = static_cast<double>(i) - mean_x, dy = values[i] - mean_y;
    sxy += dx * dy;
    sxx += dx * dx;
    syy += dy * dy;
  }
  Trend trend;
  if (sxx == 0.0 || syy == 0.0) return trend;
  const double slope = sxy / sxx;
  const double first = mean_y - slope * mean_x;
  trend.rise = first > 0.0 ? slope * (n - 1.0) / first : 0.0;
  trend.correlation = sxy / std::sqrt(sxx * syy);
  return trend;
}
