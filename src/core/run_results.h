// What a run measured, as a value: the report and any other reader take it
// whole, and the suites hand it each test's outcome.
#pragma once

#include <cstdint>

#include "core/catalogue.h"

// What a validation run found of a test's picture.
struct PictureVerdict {
  enum State : int8_t { not_checked, ok, differs, skipped } state = not_checked;
  double share_beyond = 0.0;  // of the pixels, those beyond the test's threshold
  int largest = 0;            // the largest difference of any channel, 0..255
  bool no_reference = false;  // differs because the test has no reference picture
};

// "ok", "differs", "skipped" or "not_checked".
const char* verdict_name(PictureVerdict::State state);

struct RunResults {
  // 0: the test runs; 1: it is passed over, and reported "skipped" if still
  // set when the report is written.
  uint8_t skip_flags[TEST_COUNT] = {};
  // The flags as the pass definition left them; every pass starts from them.
  uint8_t saved_skip_flags[TEST_COUNT] = {};
  // Seconds per test and pass slot.
  double test_times[TEST_COUNT][TIME_SLOTS] = {};
  int32_t pass_index = 0;  // the slot of the current pass, 0..TIME_SLOTS-1
  // Filled by a validation run only.
  PictureVerdict verdicts[TEST_COUNT] = {};

  // Takes the pass definition's selection for every pass of the run.
  void select(const uint8_t selection[TEST_COUNT]);
  // Restores the selection at the start of a pass.
  void begin_pass();
  // Moves on to the next slot; after the last slot the first is reused.
  void end_pass();

  bool skipped(TestId id) const { return skip_flags[id] != 0; }
  // Stores a test's seconds at the current slot, replacing what was there.
  void record_time(TestId id, double seconds) { test_times[id][pass_index] = seconds; }
  // A test that its automatic check passed over, for the rest of the pass.
  void record_skip(TestId id) { skip_flags[id] = 1; }
};
