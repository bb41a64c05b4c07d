// The run's results: the selection each pass starts from, the time slots
// and the pictures kept per test.
#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/run_results.h"

namespace {

// A pass starts from the pass definition's selection, whatever the checks of
// the pass before marked; after the last slot the first is reused.
TEST(RunResults, PassesRestoreTheSelectionAndReuseTheSlots) {
  RunResults results;
  uint8_t selection[TEST_COUNT] = {};
  selection[test_id::blur] = 1;
  results.select(selection);
  results.record_skip(test_id::lines);
  EXPECT_TRUE(results.skipped(test_id::lines));
  results.begin_pass();
  EXPECT_FALSE(results.skipped(test_id::lines));
  EXPECT_TRUE(results.skipped(test_id::blur));
  for (int pass = 0; pass < TIME_SLOTS; ++pass) {
    results.record_time(test_id::lines, pass + 1.0);
    results.end_pass();
  }
  EXPECT_EQ(results.pass_index, 0);
  results.record_time(test_id::lines, 0.5);
  EXPECT_EQ(results.test_times[test_id::lines][0], 0.5);
  EXPECT_EQ(results.test_times[test_id::lines][TIME_SLOTS - 1], 50.0);
}

// A picture that differed in any pass differs, with the figures of the pass
// that strayed furthest; every pass is counted.
TEST(RunResults, PicturesKeepTheWorstPass) {
  const auto pass = [](PictureVerdict::State state, double share) {
    PictureVerdict verdict;
    verdict.state = state;
    verdict.share_beyond = share;
    return verdict;
  };
  RunResults results;
  results.record_picture(test_id::lines, pass(PictureVerdict::ok, 0.001));
  results.record_picture(test_id::lines, pass(PictureVerdict::differs, 0.2));
  results.record_picture(test_id::lines, pass(PictureVerdict::differs, 0.1));
  results.record_picture(test_id::lines, pass(PictureVerdict::ok, 0.3));
  const PictureVerdict& kept = results.verdicts[test_id::lines];
  EXPECT_EQ(kept.state, PictureVerdict::differs);
  EXPECT_EQ(kept.share_beyond, 0.2);
  EXPECT_EQ(kept.passes_checked, 4);
  EXPECT_EQ(kept.passes_differing, 2);
}

}  // namespace
