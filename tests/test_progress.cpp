// The stopwatch arithmetic, the progress titles and what a test records.
#include <gtest/gtest.h>

#include <cstdint>

#include "catalogue/catalogue.h"
#include "shell/progress_title.h"
#include "shell/run_options.h"
#include "shell/stopwatch.h"

namespace {

TEST(Stopwatch, ConvertsMillisecondsToSeconds) {
  EXPECT_DOUBLE_EQ(elapsed_seconds(1000, 2234), 1.234);
  EXPECT_DOUBLE_EQ(elapsed_seconds(5, 5), 0.0);
}

TEST(Stopwatch, SurvivesOneWrapOfTheClock) {
  const uint32_t start = UINT32_MAX - 255;  // 256 ms before the wrap
  EXPECT_DOUBLE_EQ(elapsed_seconds(start, 256), 0.512);
}

TEST(Stopwatch, MeasuresRealTimeAtMillisecondResolution) {
  stopwatch_start();
  const double first = stopwatch_elapsed();
  EXPECT_GE(first, 0.0);
  EXPECT_LT(first, 1.0);
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
