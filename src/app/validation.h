// A validation run: every test draws once, at the test-loop counts, and its
// last picture is read back from the window and compared with the test's
// reference picture. What differs is written to a folder, for a person to
// look at.
#pragma once

#include <string>

#include "core/catalogue.h"
#include "core/progress.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "core/test_window.h"
#include "report/picture_check.h"

class Validation {
 public:
  Validation(const RunOptions& options, RunState& state, ProgressReporter& progress)
      : options_(options), state_(state), progress_(progress) {}

  // Finds the reference folder, makes the output folder, checks that it can
  // be written and removes the pictures an earlier run left there; false,
  // told on stderr, when there are no references or the folder cannot be
  // made or written.
  bool prepare();

  // The suites' test_drawn: with the test's picture in the window, reads it
  // back, judges it against its tolerance and records the verdict in the
  // results. A test its check passed over is recorded as skipped. For a
  // picture that differs (or whose reference is missing, unreadable or of
  // another size: then only the captured picture) it writes
  // "<keyword>-captured.png", "-reference.png" and "-difference.png" into
  // the output folder, and in batch mode a line under the test's title says
  // the verdict and its figures.
  void check(const TestInfo& test, const TestWindow& window);

  // Writes "summary.txt" into the output folder, a line per test: keyword,
  // verdict, share of pixels beyond the threshold, largest difference.
  // False, told on stderr, when it cannot.
  bool write_summary() const;

  int differing() const;

 private:
  // Writes "<keyword>-<what>.png" into the output folder; a failure is told
  // on stderr and the run goes on.
  void save(const TestInfo& test, const char* what, const Picture& picture) const;
  std::string picture_path(const TestInfo& test, const char* what) const;

  const RunOptions& options_;
  RunState& state_;
  ProgressReporter& progress_;
  std::string references_;
};
