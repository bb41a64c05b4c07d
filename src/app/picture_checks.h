// A timed run's check of its pictures: right after each test's timed
// section the suite hands over the test's picture (the one its timed frames
// left, or a check frame drawn in its reference's circumstances), and it is
// judged against the test's reference picture as a validation run judges
// it. What every pass found goes to the run's results; a picture that
// differs is also told under the test's line in batch mode.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/catalogue.h"
#include "core/progress.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "report/picture_check.h"

class PictureChecks {
 public:
  PictureChecks(const RunOptions& options, RunState& state, ProgressReporter& progress)
      : options_(options), state_(state), progress_(progress) {}

  // Whether the suites are to hand their pictures over: a timed run that
  // draws tests and was not told -nocheck.
  bool wanted() const;

  // The suites' check_picture: reads the picture back and judges it. A
  // test whose reference cannot be had, or whose window has other than 8
  // bits a colour (as every reference has), is left not checked with the
  // reason. The time from the end of the test's timed section to here goes
  // to the run's check_seconds.
  void check(const TestInfo& test, const TestWindow& window, PictureSource source);

  // After the last pass: every test no pass checked gets its reason (left
  // out, skipped, -nocheck, ...).
  void finish();

 private:
  // The test's reference, read once and kept for the later passes; null,
  // with the reason noted, when it cannot be had.
  const Picture* reference(const TestInfo& test);
  void judge(const TestInfo& test, const TestWindow& window, PictureSource source);
  void leave_unchecked(const TestInfo& test, const std::string& reason);

  const RunOptions& options_;
  RunState& state_;
  ProgressReporter& progress_;
  std::optional<std::string> folder_;
  std::array<std::optional<Picture>, TEST_COUNT> references_;
};
