// Every test is judged by the tolerance of what it draws.
#include <gtest/gtest.h>

#include "judge/tolerances.h"

namespace {

bool same(const Tolerance& a, const Tolerance& b) {
  return a.channel_threshold == b.channel_threshold && a.allowed_share == b.allowed_share &&
         a.shift == b.shift && a.solid_only == b.solid_only;
}

// What a row draws, told from its fields the other way round from the
// tables: the antialiased lines first, then points, then lines (a lines
// stage or a wire polygon mode), else filled surfaces; in 2D by kernel.
Tolerance expected_for(const TestInfo& test) {
  switch (test.kernel) {
    case Kernel::half_tone_put:
      return {1, 0.0, 0};
    case Kernel::zoom:
      return {2, 0.0005, 0};
    case Kernel::put:
    case Kernel::copy:
      return {0, 0.0, 0};
    default:
      break;
  }
  if (test.scene.state == DrawState::smooth_lines) return {24, 0.06, 1};
  if (test.scene.polygon_mode == PolygonMode::points) return {12, 0.001, 1};
  if (test.scene.stage == Stage::lines || test.scene.polygon_mode == PolygonMode::lines) {
    return {12, 0.015, 1};
  }
  return {12, 0.00001, 1, true};
}

TEST(Tolerances, EachTestHasThatOfWhatItDraws) {
  for (const TestInfo& test : test_catalogue) {
    EXPECT_TRUE(same(tolerance_for(test), expected_for(test))) << test.keyword;
  }
}

}  // namespace
