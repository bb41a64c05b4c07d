// Whether one side is faster than another, test by test, and what the
// ratio shown can claim: an estimate of the speed ratio with its 95%
// interval and p-value, from two sides measured in lockstep (paired rounds)
// or from two runs' passes (independent samples of their trimmed means),
// then one decision per row with the rows' number corrected for (Holm).
// Shared by tarvelin-compare's file comparison, its -ab sessions, and the
// program's results window.
#pragma once

#include <optional>
#include <vector>

// What a later run (or side B) did against the first (side A).
enum class Change { same, slower, faster, cannot_tell };

// "same", "slower", "faster" or "cannot tell".
const char* change_name(Change change);

// The second side's speed over the first's (below 1: slower; a score ratio,
// as the tables show it), its 95% interval, and the two-sided p-value of
// "no change" before any correction for the number of rows.
struct RatioEstimate {
  double ratio = 1.0;
  double low = 1.0;
  double high = 1.0;
  double p_value = 1.0;
};

// From rounds that measured both sides seconds apart: first[i] and later[i]
// are round i's values of a row (seconds, or with `higher_is_faster`
// scores). Student's t on the log of each round's ratio, whose mean's
// exponent is the estimate. None for fewer than MIN_DECIDING_PASSES rounds,
// sides of different lengths, or any value that is not a finite number
// above 0 (a time too short to measure, or a damaged file's). Rounds
// without spread give an interval of the estimate alone and p 1 or 0.
std::optional<RatioEstimate> paired_ratio(const std::vector<double>& first,
                                          const std::vector<double>& later, bool higher_is_faster);

// From two runs' passes, measured apart: the ratio of their trimmed means
// (core/pass_statistics.h), with the interval and p-value of Welch's t on
// its log, each side's variance that of its trimmed mean (so Yuen's test
// of trimmed means on the log scale). None unless both sides have
// MIN_DECIDING_PASSES passes and a trimmed mean's error (so from 4 passes
// on), with finite values above 0.
std::optional<RatioEstimate> trimmed_ratio(const std::vector<double>& first,
                                           const std::vector<double>& later, bool higher_is_faster);

// Holm's step-down correction of p-values for their number, in the order
// given: the k-th smallest is multiplied by (m - k + 1), never falls below
// the one before it, and is at most 1.
std::vector<double> holm_adjusted(const std::vector<double>& p_values);

struct Decision {
  Change change = Change::cannot_tell;
  double ratio = 0.0;         // the ratio shown and weighed against the threshold
  std::optional<double> low;  // the estimate's 95% interval, where there is one
  std::optional<double> high;
  std::optional<double> p_value;          // corrected for the number of rows decided together
  const char* why_no_estimate = nullptr;  // the row's own reason, where it gave one
};

// One row to decide: the ratio the table shows (none where it shows none)
// and the estimate, where the row has one.
struct DecisionRow {
  std::optional<double> shown_ratio;
  std::optional<RatioEstimate> estimate;
  // Where a row has no estimate for a reason of its own (its figures
  // disagree), that reason, for the claim to give.
  const char* why_no_estimate = nullptr;
};

// Decides every row together, with the p-values of the rows that have an
// estimate corrected by holm_adjusted over their number:
// - slower or faster: the ratio shown is beyond the threshold (below
//   1 - T/100, or above 1 + T/100) and the corrected p-value is below
//   1 - CONFIDENCE;
// - same: the whole interval lies within 1 - T/100 .. 1 + T/100;
// - cannot tell: neither, or no estimate.
// A row without a ratio shown is decided on its estimate's. `threshold_percent`
// is above 0.
std::vector<Decision> decide_rows(const std::vector<DecisionRow>& rows, double threshold_percent);
