// Every test is judged by the tolerance of what it draws.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "judge/tolerances.h"

namespace {

bool same(const Tolerance& a, const Tolerance& b) {
  return a.channel_threshold == b.channel_threshold && a.allowed_share == b.allowed_share &&
         a.shift == b.shift && a.solid_only == b.solid_only;
}

TEST(Tolerances, EachTestHasThatOfWhatItDraws) {
  const Tolerance exact{0, 0.0, 0}, lines{12, 0.015, 1};
  // The 3D tests that draw other than filled surfaces, and the 2D tests
  // that draw other than whole pixels.
  const std::map<std::string, Tolerance> drawing = {{"put_copy_val_half", {1, 0.0, 0}},
                                                    {"scaling", {2, 0.0005, 0}},
                                                    {"lines", lines},
                                                    {"lines_fog", lines},
                                                    {"lines_smooth", {24, 0.06, 1}},
                                                    {"points", {12, 0.001, 1}},
                                                    {"points_fog", {12, 0.001, 1}},
                                                    {"wire_frame", lines},
                                                    {"wire_frame_fog", lines},
                                                    {"polygon_color_smooth", lines}};
  for (const TestInfo& test : test_catalogue) {
    const auto named = drawing.find(test.keyword);
    const Tolerance want = named != drawing.end() ? named->second
                           : is_2d_test(test.id)  ? exact
                                                  : Tolerance{12, 0.00001, 1, true};
    EXPECT_TRUE(same(tolerance_for(test), want)) << test.keyword;
  }
}

}  // namespace
