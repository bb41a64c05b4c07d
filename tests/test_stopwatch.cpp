// The stopwatch every timed section measures with.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/stopwatch.h"

namespace {

TEST(Stopwatch, ConvertsNanosecondsToSeconds) {
  EXPECT_DOUBLE_EQ(elapsed_seconds(1000000000u, 2234000000u), 1.234);
  EXPECT_DOUBLE_EQ(elapsed_seconds(5, 5), 0.0);
  EXPECT_DOUBLE_EQ(elapsed_seconds(0, 1500), 1.5e-6);
}

TEST(Stopwatch, SurvivesOneWrapOfTheClock) {
  const uint64_t start = UINT64_MAX - 255999999u;  // 256 ms before the wrap
  EXPECT_NEAR(elapsed_seconds(start, 256000000u), 0.512, 1e-12);
}

// A section far shorter than a millisecond still measures more than nothing:
// quarter-mode tests of a few milliseconds are not quantised.
TEST(Stopwatch, ResolvesLessThanAMillisecond) {
  Stopwatch stopwatch;
  stopwatch.start();
  double elapsed = stopwatch.elapsed();
  while (elapsed == 0.0) elapsed = stopwatch.elapsed();
  EXPECT_GT(elapsed, 0.0);
  EXPECT_LT(elapsed, 0.001);
}

}  // namespace
