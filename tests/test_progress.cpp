// The progress titles and what a test records.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/catalogue.h"
#include "core/progress_title.h"
#include "core/run_options.h"
#include "core/run_state.h"

namespace {

// A window of the test's own, which keeps the title it was given.
class TitleWindow final : public TestWindow {
 public:
  std::string title;
  void set_title(const char* text) override { title = text; }
  void swap_buffers() override {}

 protected:
  bool double_buffered() const override { return false; }
};

// A run's progress and results as a suite sees them, on a settings value of
// the test's own.
class Progress : public ::testing::Test {
 protected:
  RunOptions options;
  RunState state;
  ProgressTitle progress{options};
  TitleWindow window;
  SuiteContext context{options, state, progress, window};

  void show(TestId id) { context.started(id); }
};

TEST_F(Progress, ShowsNameAndCount) {
  progress.progress_total = 60;
  progress.progress_count = 29;
  show(test_id::wire_frame_fog);
  EXPECT_EQ(progress.progress_count, 30);
  EXPECT_EQ(window.title, "Tarvelin - WireFrame and Fog  [30/60]");
  char title[TITLE_SIZE];
  progress.format_progress_title("WireFrame and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin - WireFrame and Fog  [30/60]");

  // Every test times the largest loop count a user can give.
  progress.progress_total = int64_t{TEST_COUNT} * INT32_MAX;
  progress.format_progress_title("Lines", title, TITLE_SIZE);
  EXPECT_EQ(title, "Tarvelin - Lines  [30/" + std::to_string(progress.progress_total) + "]");
}

TEST_F(Progress, WithoutCountShowsNameOnlyButStillCounts) {
  options.show_count = false;
  progress.progress_total = TEST_COUNT;
  show(test_id::lines);
  show(test_id::lines_fog);
  EXPECT_EQ(progress.progress_count, 2);
  char title[TITLE_SIZE];
  progress.format_progress_title("Lines and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin : Lines and Fog");
}

TEST_F(Progress, CountIsNotForcedToAgreeWithTotal) {
  progress.progress_total = 1;
  show(test_id::points);
  show(test_id::points_fog);
  char title[TITLE_SIZE];
  progress.format_progress_title("Points and Fog", title, TITLE_SIZE);
  EXPECT_STREQ(title, "Tarvelin - Points and Fog  [2/1]");
}

TEST_F(Progress, TimeGoesIntoTheCurrentPassSlotReplacingOlder) {
  state.results.pass_index = 7;
  state.results.test_times[test_id::wire_frame_fog][7] = 9.0;
  context.timed(test_id::wire_frame_fog, 1.5);
  EXPECT_DOUBLE_EQ(state.results.test_times[test_id::wire_frame_fog][7], 1.5);
  EXPECT_DOUBLE_EQ(state.results.test_times[test_id::wire_frame_fog][6], 0.0);
}

TEST_F(Progress, CheckSkipSetsTheFlagAndStoresNoTime) {
  state.results.test_times[test_id::stencil_buffer][0] = 0.25;
  context.skipped_by_check(test_id::stencil_buffer);
  EXPECT_TRUE(state.results.skipped(test_id::stencil_buffer));
  EXPECT_DOUBLE_EQ(state.results.test_times[test_id::stencil_buffer][0], 0.25);
}

}  // namespace
