#include "report/scoring.h"

#include <algorithm>
#include <cmath>

namespace {

double trimmed_mean(const double slots[TIME_SLOTS], int n) {
  double sum = 0.0;
  double minimum = slots[0];
  double maximum = slots[0];
  for (int slot = 0; slot < n; ++slot) {
    const double value = slots[slot];
    sum += value;
    if (value > maximum) maximum = value;
    if (value < minimum) minimum = value;
  }
  if (n >= 3) return (sum - minimum - maximum) / (n - 2);
  return sum / n;
}

}  // namespace

double compute_score(const double slots[TIME_SLOTS], double reference, int32_t loops,
                     bool quarter) {
  const int n = std::clamp<int32_t>(loops, 1, TIME_SLOTS);
  double mean = trimmed_mean(slots, n);
  if (quarter) mean *= 4.0;
  return reference / mean * 100.0;
}

bool is_measured_score(double score) { return std::isfinite(score); }
