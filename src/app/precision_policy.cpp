#include "app/precision_policy.h"

#include <algorithm>

#include "core/pass_statistics.h"
#include "report/statistics.h"

int32_t precision_pass_limit(const RunOptions& options) {
  return options.loops_given ? std::clamp(options.loops, 1, TIME_SLOTS) : TIME_SLOTS;
}

std::string precision_stop(const RunOptions& options, const RunResults& results, int32_t passes,
                           double elapsed) {
  if (passes >= MIN_INTERVAL_PASSES &&
      precision_misses(results, passes, options.precision_percent).empty()) {
    return "target met";
  }
  const double budget =
      options.budget_seconds > 0.0 ? options.budget_seconds : DEFAULT_BUDGET_SECONDS;
  if (elapsed >= budget) return "budget spent";
  if (passes >= precision_pass_limit(options)) return "passes allowed done";
  return {};
}
