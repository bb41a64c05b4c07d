#include "shell/stopwatch.h"

#include "platform/platform.h"

namespace {
uint32_t start_time_ms = 0;
}

void stopwatch_start() { start_time_ms = platform::clock_ms(); }

double stopwatch_elapsed() { return elapsed_seconds(start_time_ms, platform::clock_ms()); }
