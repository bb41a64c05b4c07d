// How far a test's picture may stray from its reference, by what the test
// draws: whole pixels, scaled or zoomed pixels, lines, points, smooth lines
// or filled surfaces. Decided from the row alone, through constant tables
// keyed by its kernel, stage, polygon mode and draw state.
#pragma once

#include "core/catalogue.h"
#include "judge/picture_compare.h"

// The tolerance the test's picture is judged by. Every row of the
// catalogue has one (a static check sees to it).
Tolerance tolerance_for(const TestInfo& test);
