#include "app/run_sequence.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/options.h"
#include "app/start_panel.h"
#include "app/start_panel_fields.h"
#include "app/start_settings.h"
#include "app/test_windows.h"
#include "core/catalogue.h"
#include "core/pass_definition.h"
#include "core/picture.h"
#include "core/run_options.h"
#include "platform/platform.h"
#include "report/report.h"
#include "scene3d/surface_mesh.h"

namespace {

constexpr int EXIT_ABANDONED = 0;
constexpr int EXIT_DONE = 1;
constexpr int BATCH_DONE = 0;
constexpr int BATCH_FAILED = 1;
constexpr int BATCH_USAGE = 2;

int exit_after_options() {
  if (!run_options.batch) return EXIT_ABANDONED;
  return run_options.usage_error ? BATCH_USAGE : BATCH_DONE;
}

int exit_after_window_failure() {
  platform::resume_screen_saver();
  return run_options.batch ? BATCH_FAILED : EXIT_ABANDONED;
}

void check_pass_file() {
  run_state.pass_file_missing = platform::read_access(run_options.pass_file) ? 0 : -1;
}

// The panel until START, or in batch mode the settings of the command line
// taken as if START had been pressed on an untouched panel.
void run_start_panel() {
  run_state.run_mode = RUN_MODE_PANEL;
  reconcile_panel_flags();
  if (!run_options.batch) {
    show_start_panel();
    return;
  }
  // What the panel would show about the pass file, the user is told here.
  char warning[MESSAGE_SIZE];
  if (panel_warning_line(warning, sizeof warning)) {
    std::fprintf(stderr, "%s\n", warning);
    std::fflush(stderr);
  }
  const platform::Size screen = platform::screen_size();
  press_start(PANEL_RECT, screen.width, screen.height);
}

// One 3D window, then one 2D window.
bool run_pass() {
  std::memcpy(skip_flags, saved_skip_flags, sizeof skip_flags);
  run_state.run_mode = RUN_MODE_3D;
  if (!run_test_window()) return false;
  run_state.run_mode = RUN_MODE_2D;
  if (!run_test_window()) return false;
  run_state.pass_index += 1;
  if (run_state.pass_index == TIME_SLOTS) run_state.pass_index = 0;
  return true;
}

void write_report() {
  write_environment_status();
  if (run_options.status_only) {
    close_report();
  } else {
    write_results();
  }
}

// The viewer gets the report's absolute path, so that a name beginning
// with "-" cannot be taken for an option; no report, no viewer.
void show_report() {
  const char* report = written_report_path();
  if (report == nullptr) return;
  char absolute[PATH_MAX];
  if (realpath(report, absolute) == nullptr) return;
  platform::open_in_viewer(absolute);
}

void announce_end() {
  if (run_options.test_loop) {
    platform::message_box("tarvelin", "BenchMark complete.");
  } else if (!run_options.batch) {
    show_report();
    platform::beep();
  }
}

}  // namespace

int run_benchmark(int argc, char** argv) {
  argc = take_batch_option(argc, argv, &run_options.batch);
  platform::set_batch_mode(run_options.batch != 0);
  platform::open_display();  // message boxes need it; its absence is told below

  static WordTable words;
  OptionMessage message;
  split_command_line(argc, argv, &words, run_options, message);
  if (!run_options.exit_requested) parse_options(words, run_options, message);
  if (run_options.exit_requested) return exit_after_options();

  if (!platform::display_open()) {
    std::fprintf(stderr,
                 "tarvelin: cannot open the X display; set DISPLAY to a running X server\n");
    return 1;
  }

  copy_picture_to_texture();
  build_surface_mesh();
  check_pass_file();

  run_start_panel();
  if (!run_state.start_pressed) return EXIT_DONE;

  read_pass_definition();
  if (run_options.loops > 0) progress_total *= run_options.loops;
  std::memcpy(saved_skip_flags, skip_flags, sizeof saved_skip_flags);
  if (run_options.stop_screen_saver) platform::suspend_screen_saver();

  // Loop counts of 0 and 1 both run one pass; a negative count never ends.
  int32_t passes_left = run_options.status_only ? 1 : run_options.loops;
  for (;;) {
    if (!run_pass()) return exit_after_window_failure();
    if (run_options.loops < 0) continue;
    if (--passes_left <= 0) break;
  }

  platform::resume_screen_saver();
  write_report();
  announce_end();
  if (run_options.batch) return report_failed() ? BATCH_FAILED : BATCH_DONE;
  return EXIT_DONE;
}
