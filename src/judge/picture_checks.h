// A timed run's check of its pictures, one of the judge's two policies:
// right after each test's timed section the suite hands over the test's
// picture (the one its timed frames left, or a check frame drawn in its
// reference's circumstances), the judge judges it and records the verdict
// over the passes, and a picture that differs is told under the test's line
// in batch mode.
#pragma once

#include "core/catalogue.h"
#include "core/progress.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "judge/picture_judge.h"

class PictureChecks {
 public:
  PictureChecks(const RunOptions& options, RunState& state, ProgressReporter& progress)
      : options_(options), state_(state), progress_(progress) {}

  // Whether the suites are to hand their pictures over: a timed run that
  // draws tests and was not told -nocheck.
  bool wanted() const;

  // The suites' check_picture: the test's picture judged and recorded (see
  // PictureJudge::judge for when it is left not checked, with the reason).
  void check(const TestInfo& test, const TestWindow& window, PictureSource source);

  // After the last pass: every test no pass checked gets its reason (left
  // out, skipped, -nocheck, ...).
  void finish();

 private:
  const RunOptions& options_;
  RunState& state_;
  ProgressReporter& progress_;
  PictureJudge judge_;
};
