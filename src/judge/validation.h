// A validation run, one of the judge's two policies: every test draws once,
// at the test-loop counts, and its last picture is judged against the
// test's reference picture (picture_judge.h) and recorded. What differs, or
// could not be judged for want of a reference, is written to a folder for a
// person to look at, with a summary of every verdict.
#pragma once

#include <string>

#include "core/catalogue.h"
#include "core/progress.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "core/test_window.h"
#include "judge/picture_judge.h"

struct ValidationCounts {
  int checked = 0;    // compared with a reference: ok or differs
  int differing = 0;  // of those, the ones that differ
  int skipped = 0;    // passed over by their automatic check, or off-screen
  int not_checked = 0;
};

class Validation {
 public:
  Validation(const RunOptions& options, RunState& state, ProgressReporter& progress)
      : options_(options), state_(state), progress_(progress) {}
  // A run that did not complete leaves the folder as the last one did.
  ~Validation();
  Validation(const Validation&) = delete;
  Validation& operator=(const Validation&) = delete;

  // Finds the reference folder, makes the output folder and in it a hidden
  // folder, ".tarvelin-new-XXXXXX", that gathers this run's pictures until
  // write_summary puts them in place (removing those that runs killed
  // before then left); false, told on stderr, when there are no references
  // or the folder cannot be made or written.
  bool prepare();

  // The suites' test_drawn: with the test's picture in the window, judges
  // and records it as a timed run's check does (PictureJudge::judge). A
  // test its check passed over is recorded as skipped. For a picture that
  // differs it writes "<keyword>-captured.png", "-reference.png" and
  // "-difference.png" into the output folder; for one not checked for want
  // of a reference, only the captured picture. In batch mode a line under
  // the test's title says the verdict and its figures, or why it was not
  // checked.
  void check(const TestInfo& test, const TestWindow& window);

  // Writes "summary.txt", a line per test: keyword, verdict, share of
  // pixels beyond the threshold, largest difference and, for a test not
  // checked, why; then replaces the
  // earlier run's summary and pictures in the output folder with this
  // run's, the summary last, so that no summary ever names pictures that
  // are not there. False, told on stderr, when it cannot.
  bool write_summary();

  // How the run's pictures fared.
  ValidationCounts counts() const;

 private:
  // Writes "<keyword>-<what>.png" into the output folder; a failure is told
  // on stderr and the run goes on.
  void save(const TestInfo& test, const char* what, const Picture& picture) const;
  std::string picture_path(const TestInfo& test, const char* what) const;
  // Moves the gathered files into the output folder in place of the
  // earlier run's; false, told on stderr, when one cannot be moved.
  bool put_in_place() const;

  std::string gathering_;  // the hidden folder of this run's files; empty when none

  const RunOptions& options_;
  RunState& state_;
  ProgressReporter& progress_;
  PictureJudge judge_;
};
