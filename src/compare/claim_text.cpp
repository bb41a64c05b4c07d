#include "compare/claim_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/confidence.h"

namespace {

// As the slowdowns on stderr give it; never shown at or above the level
// that the decision found it below.
std::string p_text(double p) {
  if (p < 0.0001) return "p < 0.0001";
  const double level = 1.0 - CONFIDENCE;
  char text[32];
  if (p < level && std::round(p * 1e4) >= std::round(level * 1e4)) {
    std::snprintf(text, sizeof text, "p < %g", level);
  } else {
    std::snprintf(text, sizeof text, "p = %.4f", p);
  }
  return text;
}

std::string unknown_reason(const Decision& decision, size_t passes_first, size_t passes_later,
                           double threshold_percent, bool paired) {
  if (decision.why_no_estimate != nullptr) return decision.why_no_estimate;
  const size_t fewest = std::min(passes_first, passes_later);
  if (fewest == 0) return "no passes recorded";
  if (passes_first == 1 && passes_later == 1) return paired ? "one round" : "one pass each";
  const size_t least = paired ? MIN_DECIDING_PASSES : INTERVAL_PASSES;
  if (fewest < least) {
    return "fewer than " + std::to_string(least) + (paired ? " rounds" : " passes");
  }
  if (decision.low && decision.high) {
    char text[48];
    std::snprintf(text, sizeof text, "interval reaches past ±%g%%", threshold_percent);
    return text;
  }
  return "no interval";
}

}  // namespace

std::string claim_text(const Decision& decision, size_t passes_first, size_t passes_later,
                       double threshold_percent, const SetupDifference& other, bool paired) {
  const std::string change = change_text(decision, other);
  switch (decision.change) {
    case Change::slower:
    case Change::faster:
      return decision.p_value ? change + ", " + p_text(*decision.p_value) : change;
    case Change::same:
      return change;
    case Change::cannot_tell:
      break;
  }
  return change + ": " +
         unknown_reason(decision, passes_first, passes_later, threshold_percent, paired);
}
