// The one stopwatch every timed test measures with.
#pragma once

#include <cstdint>

void stopwatch_start();
// Seconds since the last stopwatch_start, at the clock's millisecond
// resolution.
double stopwatch_elapsed();

// Seconds between two readings of a 32-bit millisecond clock; one
// wrap-around between them still gives the right difference.
inline double elapsed_seconds(uint32_t start_ms, uint32_t now_ms) {
  const uint32_t difference = now_ms - start_ms;
  return static_cast<double>(difference) * 0.001;
}
