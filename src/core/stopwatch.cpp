#include "core/stopwatch.h"

#include "platform/platform.h"

namespace {
uint64_t start_time_ns = 0;
}

void stopwatch_start() { start_time_ns = platform::clock_ns(); }

double stopwatch_elapsed() { return elapsed_seconds(start_time_ns, platform::clock_ns()); }
