// The stopwatch arithmetic, the progress titles and what a test records.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/catalogue.h"
#include "core/progress_title.h"
#include "core/run_options.h"
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
  stopwatch_start();
  double elapsed = stopwatch_elapsed();
  while (elapsed == 0.0) elapsed = stopwatch_elapsed();
  EXPECT_GT(elapsed, 0.0);
  EXPECT_LT(elapsed, 0.001);
}

class ProgressTitle : public ::testing::Test {
 protected:
  void SetUp() override {
    run_options = RunOptions{};
    run_state = RunState{};
    progress_count = 0;
    progress_total = 0;
  }
};

TEST_F(ProgressTitle, ShowsNameAndCount) {
  progress_total = 98;
  progress_count = 49;
  set_progress_title("WireFrame and Fog");
  EXPECT_EQ(progress_count, 50);
  char title[TITLE_SIZE];
  format_progress_title("WireFrame and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin - WireFrame and Fog  [50/98]");

  // 49 tests times the largest loop count a user can give.
  progress_total = 49LL * INT32_MAX;
  format_progress_title("Lines", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin - Lines  [50/105226698703]");
}

TEST_F(ProgressTitle, WithoutCountShowsNameOnlyButStillCounts) {
  run_options.show_count = 0;
  progress_total = 49;
  set_progress_title("Lines");
  set_progress_title("Lines and Fog");
  EXPECT_EQ(progress_count, 2);
  char title[TITLE_SIZE];
  format_progress_title("Lines and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin : Lines and Fog");
}

TEST_F(ProgressTitle, CountIsNotForcedToAgreeWithTotal) {
  progress_total = 1;
  set_progress_title("Points");
  set_progress_title("Points and Fog");
  char title[TITLE_SIZE];
  format_progress_title("Points and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin - Points and Fog  [2/1]");
}

TEST_F(ProgressTitle, TimeGoesIntoTheCurrentPassSlotReplacingOlder) {
  run_state.pass_index = 7;
  test_times[test_id::wire_frame_fog][7] = 9.0;
  record_test_time(test_id::wire_frame_fog, 1.5);
  EXPECT_DOUBLE_EQ(test_times[test_id::wire_frame_fog][7], 1.5);
  EXPECT_DOUBLE_EQ(test_times[test_id::wire_frame_fog][6], 0.0);
}

TEST_F(ProgressTitle, CheckSkipSetsTheFlagAndStoresNoTime) {
  skip_flags[test_id::stencil_buffer] = 0;
  test_times[test_id::stencil_buffer][0] = 0.25;
  record_check_skip(test_id::stencil_buffer);
  EXPECT_EQ(skip_flags[test_id::stencil_buffer], 1);
  EXPECT_DOUBLE_EQ(test_times[test_id::stencil_buffer][0], 0.25);
  skip_flags[test_id::stencil_buffer] = 0;
}

}  // namespace
