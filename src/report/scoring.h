// Turning the measured times of one test into its score.
#pragma once

#include <cstdint>
#include <vector>

#include "core/catalogue.h"
#include "core/run_options.h"
#include "core/run_results.h"

// The score of one test: reference seconds over the mean measured seconds,
// times 100, so that 100 means as fast as the reference.
//
// The mean is taken over slots 0 to n-1, where n is `loops` limited to
// 1..TIME_SLOTS: a loop count of 0 (or less) still ran one pass, and more
// than TIME_SLOTS passes left their latest times in every slot. From n = 3
// on, exactly one smallest and one largest slot are left out (also when
// several slots share that value); for n = 1 or 2 it is the plain mean. In
// quarter mode the mean is multiplied by 4, because the tests then ran a
// quarter of their iterations.
//
// A mean of 0.0 (every counted slot 0: shorter than the nanosecond clock can
// tell, or never filled) gives +infinity; is_measured_score() tells such a score apart.
double compute_score(const double slots[TIME_SLOTS], double reference, int32_t loops, bool quarter);

// False for a score whose mean time was too short to measure: it is
// written as "inf" and kept out of the group averages.
bool is_measured_score(double score);

// How many pass slots a score counts: the loop count limited to 1..TIME_SLOTS.
int counted_slots(int32_t loops);

// The mean a score uses over the first n slots: from n = 3 on without one
// smallest and one largest slot, else the plain mean.
double trimmed_mean(const double slots[TIME_SLOTS], int n);

// A test's score as the report shows it, or none for a skipped test.
// (A measured score may still be infinite; see is_measured_score.)
bool test_scored(const RunResults& results, TestId id);
double test_score(const RunOptions& options, const RunResults& results, TestId id);

// One group's value as the report shows it: the mean of the scores of its
// tests that were measured (0.0 when none was, which the report prints but
// the result files and summary lines leave out: there is no value).
// `complete` when every test of the group was measured: then the total line
// shows the value, otherwise the total shows "-----" and an "implemented"
// line shows it.
struct GroupTotal {
  double value = 0.0;
  bool complete = true;
  int tests = 0;
  int measured = 0;  // the tests whose scores the value is the mean of
  // The group as each counted pass slot alone would score it: the mean of
  // those tests' scores from that pass's time (reference over the time,
  // times 4 in quarter mode, times 100). Their trimmed mean's spread gives
  // the total's confidence interval; tarvelin-compare weighs two runs'
  // totals on them.
  std::vector<double> pass_values;
};

// The 3D group is every 3D test after swap_buffer, the 2D group every 2D
// test.
struct GroupTotals {
  GroupTotal group_3d;
  GroupTotal group_2d;
};
GroupTotals compute_group_totals(const RunOptions& options, const RunResults& results);
