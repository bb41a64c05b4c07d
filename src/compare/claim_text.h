// What a ratio shown to the user can claim, in words: the decision on it
// with the p-value it rests on, or why none could be made. The results
// window and tarvelin-compare's table both say it with claim_text, so that
// the same two runs read alike in either.
#pragma once

#include <cstddef>
#include <string>

#include "compare/run_changes.h"

// The threshold of the decisions shown where none is asked for: the
// results window's, and tarvelin-compare -last's without -threshold.
constexpr double DEFAULT_THRESHOLD_PERCENT = 5.0;

// The fewest passes a side needs for its trimmed mean to have an interval
// (trimmed_moments in core/pass_statistics.h has none for 3), and so for a
// decision on two runs' passes.
constexpr size_t INTERVAL_PASSES = 4;

// The claim of `decision`, made on `passes_first` passes (or pass values)
// of the first run and `passes_later` of the later one with
// `threshold_percent`; `other` names a later run of another setup, as
// change_text does:
// - "slower, p = 0.0030" or "faster, p < 0.0001": the corrected p-value with
//   four decimals, "p < 0.0001" below that, and "p < 0.05" where four
//   decimals would round it up to the level it was decided below;
// - "same";
// - "cannot tell: " and the first reason that holds: "no passes recorded"
//   (a side with none: a file written before they were kept), "one pass
//   each", "fewer than 4 passes" (on either side), "interval reaches past
//   ±5%" (an interval that reaches past the threshold on a side), else
//   "no interval" (passes too short to measure).
// With another setup, "(other renderer)" and the like follow the change's
// name: "slower (other renderer), p = ...", "cannot tell (other platform):
// one pass each".
// `paired`: the passes are an -ab session's rounds, which decide from
// MIN_DECIDING_PASSES on: "one round", "fewer than 3 rounds".
std::string claim_text(const Decision& decision, size_t passes_first, size_t passes_later,
                       double threshold_percent, const SetupDifference& other = {},
                       bool paired = false);
