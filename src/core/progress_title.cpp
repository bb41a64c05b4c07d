#include "core/progress_title.h"

#include <cstdio>

void ProgressTitle::format_progress_title(const char* name, char* out, int out_size) const {
  if (options_.show_count) {
    std::snprintf(out, out_size, "Tarvelin - %s  [%lld/%lld]", name,
                  static_cast<long long>(progress_count), static_cast<long long>(progress_total));
  } else {
    std::snprintf(out, out_size, "Tarvelin : %s", name);
  }
}

void ProgressTitle::test_started(const TestInfo& test, TestWindow& window) {
  ++progress_count;
  titled_ = &test;
  char title[TITLE_SIZE];
  format_progress_title(test.title, title, TITLE_SIZE);
  window.set_title(title);
  if (options_.batch) {
    std::printf("%s\n", title);
    std::fflush(stdout);
  }
}

void ProgressTitle::test_timed(const TestInfo&, double seconds) {
  if (!options_.batch) return;
  std::printf("  %.3f s\n", seconds);
  std::fflush(stdout);
}

void ProgressTitle::test_skipped(const TestInfo& test, const char* reason) {
  if (!options_.batch) return;
  if (titled_ == &test) {
    std::printf("  skipped");
  } else {
    std::printf("  %s: skipped", test.title);
  }
  if (reason != nullptr) std::printf(" (%s)", reason);
  std::printf("\n");
  std::fflush(stdout);
}

void ProgressTitle::note(const char* line) {
  if (!options_.batch) return;
  std::printf("%s\n", line);
  std::fflush(stdout);
}
