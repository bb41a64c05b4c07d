// Turning the measured times of one test into its score.
#pragma once

#include <cstdint>

#include "core/catalogue.h"

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
// A mean of 0.0 (every counted slot faster than the clock's millisecond)
// gives +infinity; is_measured_score() tells such a score apart.
double compute_score(const double slots[TIME_SLOTS], double reference, int32_t loops, bool quarter);

// False for a score whose mean time was too short to measure: it is
// written as "inf" and kept out of the group averages.
bool is_measured_score(double score);
