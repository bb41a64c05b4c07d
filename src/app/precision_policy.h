// When a run with a precision target (-precision) stops: the rules it
// checks after each pass, in the order they are told.
#pragma once

#include <cstdint>
#include <string>

#include "core/run_options.h"
#include "core/run_results.h"

// A run with a precision target makes at most the passes -loop gives
// (clamped to 1 .. TIME_SLOTS), and without -loop as many as there are
// time slots.
int32_t precision_pass_limit(const RunOptions& options);

// After pass number `passes`, `elapsed` seconds after the run started: why
// it stops now, or nothing when it goes on. In this order: "target met"
// from MIN_INTERVAL_PASSES passes on (the trimmed mean of three, their
// median, has no interval), when every timed test's interval is within the
// target; "budget spent" once `elapsed` reaches -budget (or
// DEFAULT_BUDGET_SECONDS); "passes allowed done" at precision_pass_limit.
std::string precision_stop(const RunOptions& options, const RunResults& results, int32_t passes,
                           double elapsed);

// Why a run stopped that a signal ended before any of these rules did
// (app/interruption.h).
constexpr const char* PRECISION_INTERRUPTED = "interrupted";
