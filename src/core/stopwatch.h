// The one stopwatch every timed test measures with, and the one bracket
// around every timed section.
#pragma once

#include <GL/gl.h>

#include <cstdint>

// Started right after the glFinish that opens a timed section; each timed
// section has its own, so that no time is kept between sections.
class Stopwatch {
 public:
  // Not inline, so that a debugger can stop every timed section as it
  // starts (tests/e2e/test_2d_readback.sh does).
  void start();
  // Seconds since start, read from a monotonic clock at nanosecond
  // resolution.
  double elapsed() const;

 private:
  uint64_t start_ns_ = 0;
};

// Seconds between two readings of the nanosecond clock; the unsigned
// difference stays right across a wrap of the counter.
inline double elapsed_seconds(uint64_t start_ns, uint64_t now_ns);

// Times `work`, a timed section, and returns its seconds. The section is
// bracketed by glFinish on both sides, so that it starts on an idle
// pipeline and its time means the GL has finished the work. `work` holds
// only the calls it measures: no allocation, logging, title or error query.
template <class Work>
double time_finished(Work&& work) {
  Stopwatch stopwatch;
  glFinish();
  stopwatch.start();
  work();
  glFinish();
  return stopwatch.elapsed();
}

inline double elapsed_seconds(uint64_t start_ns, uint64_t now_ns) {
  const uint64_t difference = now_ns - start_ns;
  // Divided rather than multiplied by 1e-9, so that the seconds print as
  // the nanoseconds measured (0.479079798, not 0.47907979800000006).
  return static_cast<double>(difference) / 1e9;
}
