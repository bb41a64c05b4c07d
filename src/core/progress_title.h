// The progress the user sees: the running test's name, with a counter, as
// the test window's title, and in batch mode the same title and each
// outcome on stdout.
#pragma once

#include <cstdint>

#include "core/progress.h"

constexpr int TITLE_SIZE = 256;

class ProgressTitle final : public ProgressReporter {
 public:
  explicit ProgressTitle(const RunOptions& options) : options_(options) {}

  // 64 bits, so that no loop count a user can give overflows them.
  int64_t progress_count = 0;  // titles shown so far, over the whole run
  int64_t progress_total = 0;  // what the counter counts up to

  // The title text for the current progress_count and progress_total: with
  // the count unless show_count is off.
  void format_progress_title(const char* name, char* out, int out_size) const;

  // Advances progress_count and shows the title in the window.
  void test_started(const TestInfo& test, TestWindow& window) override;
  // In batch mode "  <seconds> s", "  skipped", "  skipped (<reason>)" or
  // the line, on stdout; a test skipped before its title was shown is
  // named: "  <title>: skipped (<reason>)".
  void test_timed(const TestInfo& test, double seconds) override;
  void test_skipped(const TestInfo& test, const char* reason) override;
  void note(const char* line) override;

 private:
  const RunOptions& options_;
  const TestInfo* titled_ = nullptr;  // the test whose title shows
};
