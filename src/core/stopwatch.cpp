#include "core/stopwatch.h"

#include "platform/platform.h"

void Stopwatch::start() { start_ns_ = platform::clock_ns(); }

double Stopwatch::elapsed() const { return elapsed_seconds(start_ns_, platform::clock_ns()); }
