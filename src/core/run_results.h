// What a run measured, as a value: the report and any other reader take it
// whole, and the suites hand it each test's outcome.
#pragma once

#include <cstdint>
#include <string>

#include "core/catalogue.h"

// Which picture of a test a check judged.
enum class PictureSource : int8_t {
  none,
  timed_frames,  // the one the test's own timed frames left
  check_frame,   // one drawn right after them in its reference picture's circumstances
};

// What the check of a test's picture found: in a validation run of the one
// picture it draws; in a timed run over every pass that checked it, with
// the figures of the pass that strayed furthest.
struct PictureVerdict {
  enum State : int8_t { not_checked, ok, differs, skipped } state = not_checked;
  PictureSource source = PictureSource::none;
  double share_beyond = 0.0;  // of the pixels, those beyond the test's threshold
  int largest = 0;            // the largest difference of any channel, 0..255
  // Not checked because the test has no usable reference picture (missing,
  // unreadable or of another size).
  bool no_reference = false;
  // The tolerance the picture was judged by.
  int channel_threshold = 0;
  double allowed_share = 0.0;
  int passes_checked = 0;
  int passes_differing = 0;
  std::string reason;  // not_checked: why, in a few words
};

// "ok", "differs", "skipped" or "not_checked".
const char* verdict_name(PictureVerdict::State state);

// A verdict's figures for a person: "2.345% of pixels beyond 12 (0.001%
// allowed), largest 255".
std::string verdict_figures(const PictureVerdict& verdict);

// Why a test is passed over in a pass: a skip flag's value.
// PASSED_OVER: by the pass definition, by -only, or by the test's automatic
// check; the result files tell them apart by the flags the pass definition
// left (RunResults::saved_skip_flags).
constexpr uint8_t PASSED_OVER = 1;
constexpr uint8_t SKIPPED_OFF_SCREEN = 2;

struct RunResults {
  // 0: the test runs; else it is passed over (PASSED_OVER or SKIPPED_OFF_SCREEN), and reported
  // "skipped" if still set when the report is written.
  uint8_t skip_flags[TEST_COUNT] = {};
  // The flags as the pass definition left them; every pass starts from them.
  uint8_t saved_skip_flags[TEST_COUNT] = {};
  // Seconds per test and pass slot.
  double test_times[TEST_COUNT][TIME_SLOTS] = {};
  int32_t pass_index = 0;  // the slot of the current pass, 0..TIME_SLOTS-1
  // What the checks of each test's picture found (validation, or a timed
  // run that checks its pictures).
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
  // A test that its automatic check (or the off-screen surface) passed
  // over, for the rest of the pass.
  void record_skip(TestId id, uint8_t why = PASSED_OVER) { skip_flags[id] = why; }
  // Adds one pass's check of a test's picture (ok or differs, with its
  // figures) to what earlier passes found: a picture that differed in any
  // pass differs, with the figures of the pass that strayed furthest.
  void record_picture(TestId id, const PictureVerdict& pass);
};
