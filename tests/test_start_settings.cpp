// What START fixes: the repeat counts, the window rectangle, the flags.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "app/palette.h"
#include "app/start_settings.h"
#include "core/run_options.h"

namespace {

class StartSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    run_options = RunOptions{};
    std::copy(std::begin(DEFAULT_REPEAT_COUNTS), std::end(DEFAULT_REPEAT_COUNTS), repeat_counts);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(StartSettings, DefaultCountsStayAsTheyAre) {
  apply_start_settings();
  const int32_t expected[] = {1000, 1000, 128, 2000, 100, 500, 500, 64, 500, 300, 300};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), repeat_counts));
}

TEST_F(StartSettings, QuarterModeDividesByFourRoundingDown) {
  run_options.quarter = 1;
  apply_start_settings();
  const int32_t expected[] = {250, 250, 32, 500, 25, 125, 125, 16, 125, 75, 75};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), repeat_counts));
}

TEST_F(StartSettings, TestLoopSetsEveryCountToTwo) {
  run_options.quarter = 1;
  run_options.test_loop = 1;
  apply_start_settings();
  for (int32_t count : repeat_counts) EXPECT_EQ(count, 2);
}

TEST_F(StartSettings, TestLoopRulesOutStatusOnlyAndQuarter) {
  run_options.test_loop = 1;
  run_options.status_only = 1;
  run_options.quarter = 1;
  reconcile_panel_flags();
  EXPECT_EQ(run_options.status_only, 0);
  EXPECT_EQ(run_options.quarter, 0);
  run_options = RunOptions{};
  run_options.status_only = 1;
  run_options.quarter = 1;
  reconcile_panel_flags();
  EXPECT_EQ(run_options.status_only, 1) << "only test-loop mode reconciles";
  EXPECT_EQ(run_options.quarter, 1);
}

TEST(WindowRect, InsideTheScreenIsKept) {
  const ScreenRect r = clamp_to_screen({50, 50, 562, 434}, 1280, 1024);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 562);
  EXPECT_EQ(r.bottom, 434);
}

TEST(WindowRect, OffTheLeftAndTopEdgesMovesToZeroKeepingSize) {
  const ScreenRect r = clamp_to_screen({-30, -10, 482, 374}, 1280, 1024);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 512);
  EXPECT_EQ(r.bottom, 384);
}

TEST(WindowRect, OffTheRightAndBottomEdgesEndsAtTheLastPixel) {
  const ScreenRect r = clamp_to_screen({1000, 900, 1512, 1284}, 1280, 1024);
  EXPECT_EQ(r.right, 1279);
  EXPECT_EQ(r.left, 767);
  EXPECT_EQ(r.bottom, 1023);
  EXPECT_EQ(r.top, 639);
}

TEST(Palette, ComponentTables) {
  EXPECT_EQ(palette_component(0x1, 1, 0), 255);
  EXPECT_EQ(palette_component(0x2, 1, 0), 0);
  EXPECT_EQ(palette_component(0x4, 2, 1), 170);
  EXPECT_EQ(palette_component(0xC0, 2, 6), 255);
  EXPECT_EQ(palette_component(0x38, 3, 3), 255);
  EXPECT_EQ(palette_component(0x05, 3, 0), 182);
  EXPECT_EQ(palette_component(0xFF, 4, 0), 0) << "other bit counts give 0";
  EXPECT_EQ(palette_component(0xFF, 0, 0), 0);
}

TEST(Palette, ThreeThreeTwoWithReservedColours) {
  PaletteEntry p[PALETTE_332_SIZE];
  build_palette_332(p);
  auto is = [](const PaletteEntry& e, int r, int g, int b) {
    return e.red == r && e.green == g && e.blue == b;
  };
  EXPECT_TRUE(is(p[0], 0, 0, 0));
  EXPECT_TRUE(is(p[255], 255, 255, 255));
  EXPECT_TRUE(is(p[3], 128, 0, 0)) << "reserved";
  EXPECT_TRUE(is(p[247], 255, 251, 240)) << "reserved";
  EXPECT_TRUE(is(p[91], 128, 128, 128)) << "reserved";
  // An ordinary entry follows the component tables: index 0b10'011'101.
  EXPECT_TRUE(is(p[0x9D], 182, 109, 170));
  EXPECT_TRUE(is(p[7], 255, 0, 0));
}

}  // namespace
