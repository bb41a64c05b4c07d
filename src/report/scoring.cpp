#include "report/scoring.h"

#include <algorithm>
#include <cmath>

#include "core/pass_statistics.h"

namespace {

// The groups are ranges of the catalogue: the 3D group every 3D row after
// swap_buffer, the 2D group every 2D row (the catalogue checks that those
// rows are the 2D ones).
static_assert(test_id::swap_buffer == FIRST_3D_TEST && test_id::lines == FIRST_3D_TEST + 1);
static_assert(FIRST_2D_TEST == 0 && LAST_2D_TEST + 1 == FIRST_3D_TEST);

// For each counted slot, the mean over the group's measured tests of the
// score that slot's time alone gives; a slot with a time of 0 in one of
// them has no value.
std::vector<double> pass_values(const RunOptions& options, const RunResults& results, int first,
                                int last) {
  std::vector<double> values;
  for (int slot = 0; slot < counted_slots(options.loops); ++slot) {
    double sum = 0.0;
    int measured = 0;
    bool whole = true;
    for (int id = first; id <= last; ++id) {
      const TestId test = static_cast<TestId>(id);
      if (!test_scored(results, test) || !is_measured_score(test_score(options, results, test))) {
        continue;
      }
      const double seconds = results.test_times[test][slot] * (options.quarter ? 4.0 : 1.0);
      whole &= seconds > 0.0;
      if (seconds > 0.0) sum += test_catalogue[test].reference / seconds * 100.0;
      ++measured;
    }
    if (measured > 0 && whole) values.push_back(sum / measured);
  }
  return values;
}

GroupTotal group_total(const RunOptions& options, const RunResults& results, int first, int last) {
  GroupTotal total;
  double sum = 0.0;
  int measured = 0;
  for (int id = first; id <= last; ++id) {
    ++total.tests;
    const TestId test = static_cast<TestId>(id);
    if (test_scored(results, test)) {
      const double score = test_score(options, results, test);
      if (is_measured_score(score)) {
        sum += score;
        ++measured;
        continue;
      }
    }
    total.complete = false;
  }
  total.value = measured > 0 ? sum / measured : 0.0;
  total.measured = measured;
  total.pass_values = pass_values(options, results, first, last);
  return total;
}

}  // namespace

int counted_slots(int32_t loops) { return std::clamp<int32_t>(loops, 1, TIME_SLOTS); }

double trimmed_mean(const double slots[TIME_SLOTS], int n) {
  return trimmed_mean_of(slots, static_cast<size_t>(n));
}

double compute_score(const double slots[TIME_SLOTS], double reference, int32_t loops,
                     bool quarter) {
  double mean = trimmed_mean(slots, counted_slots(loops));
  if (quarter) mean *= 4.0;
  return reference / mean * 100.0;
}

bool is_measured_score(double score) { return std::isfinite(score); }

bool test_scored(const RunResults& results, TestId id) { return !results.skipped(id); }

double test_score(const RunOptions& options, const RunResults& results, TestId id) {
  return compute_score(results.test_times[id], test_catalogue[id].reference, options.loops,
                       options.quarter);
}

GroupTotals compute_group_totals(const RunOptions& options, const RunResults& results) {
  return {group_total(options, results, test_id::lines, LAST_3D_TEST),
          group_total(options, results, FIRST_2D_TEST, LAST_2D_TEST)};
}
