#include "core/pass_statistics.h"

#include <algorithm>
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

double trimmed_mean_of(const double* values, size_t n) {
  double sum = 0.0;
  double minimum = values[0];
  double maximum = values[0];
  for (size_t i = 0; i < n; ++i) {
    sum += values[i];
    minimum = std::min(minimum, values[i]);
    maximum = std::max(maximum, values[i]);
  }
  if (n >= 3) return (sum - minimum - maximum) / static_cast<double>(n - 2);
  return sum / static_cast<double>(n);
}

std::optional<TrimmedMoments> trimmed_moments(const std::vector<double>& values) {
  const size_t n = values.size();
  const size_t trimmed = n >= 3 ? 1 : 0;  // from each end
  const size_t kept = n - 2 * trimmed;
  if (n < 2 || kept < 2) return std::nullopt;
  std::vector<double> winsorized = values;
  std::sort(winsorized.begin(), winsorized.end());
  if (trimmed > 0) {
    winsorized.front() = winsorized[1];
    winsorized.back() = winsorized[n - 2];
  }
  const double h = static_cast<double>(kept);
  TrimmedMoments m;
  m.mean = trimmed_mean_of(values.data(), n);
  m.squared_error = (static_cast<double>(n) - 1.0) * moments(winsorized).variance / (h * (h - 1.0));
  m.freedom = h - 1.0;
  return m;
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
