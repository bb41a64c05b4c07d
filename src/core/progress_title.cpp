#include "core/progress_title.h"

#include <cstdio>

#include "core/run_options.h"
#include "platform/platform.h"

void format_progress_title(const char* name, char* out, int out_size) {
  if (run_options.show_count) {
    std::snprintf(out, out_size, "Tarvelin - %s  [%lld/%lld]", name,
                  static_cast<long long>(progress_count), static_cast<long long>(progress_total));
  } else {
    std::snprintf(out, out_size, "Tarvelin : %s", name);
  }
}

void set_progress_title(const char* name) {
  ++progress_count;
  char title[TITLE_SIZE];
  format_progress_title(name, title, TITLE_SIZE);
  platform::set_test_window_title(title);
  if (run_options.batch) {
    std::printf("%s\n", title);
    std::fflush(stdout);
  }
}

void record_test_time(TestId id, double seconds) {
  test_times[id][run_state.pass_index] = seconds;
  if (run_options.batch) {
    std::printf("  %.3f s\n", seconds);
    std::fflush(stdout);
  }
}

void record_check_skip(TestId id) {
  skip_flags[id] = 1;
  if (run_options.batch) {
    std::printf("  skipped\n");
    std::fflush(stdout);
  }
}
