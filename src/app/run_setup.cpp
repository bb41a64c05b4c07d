#include "app/run_setup.h"

#include <cstdio>
#include <string>

#include "app/exit_status.h"
#include "app/options.h"
#include "app/start_panel.h"
#include "app/test_windows.h"
#include "platform/platform.h"
#include "scene3d/surface_mesh.h"

namespace {

int exit_after_options(const RunOptions& options) {
  if (!options.batch) return EXIT_ABANDONED;
  return options.usage_error ? BATCH_USAGE : BATCH_DONE;
}

// With -only or -validate the pass definition file is not read, so not
// warned about.
void check_pass_file(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  const bool readable = !options.only_tests.empty() || run.run_options.validating() ||
                        platform::read_access(options.pass_file.c_str());
  run.run_state.pass_file_missing = !readable;
}

// X windows on the display; off-screen through EGL where the command line
// asks for it, or in batch mode where no display can be opened. False, told
// on stderr, when the tests can draw nowhere.
bool choose_where_to_draw(BenchmarkRun& run) {
  RunOptions& options = run.run_options;
  if (!options.offscreen && !platform::display_open()) {
    if (!options.batch) {
      std::fprintf(stderr,
                   "tarvelin: cannot open the X display; set DISPLAY to a running X server\n");
      return false;
    }
    std::fprintf(stderr, "tarvelin: no X display; the tests draw off-screen through EGL\n");
    options.offscreen = true;
  }
  if (!options.offscreen) return true;
  std::string error;
  if (!start_offscreen_windows(options, run.run_state.environment_info, &error)) {
    std::fprintf(stderr, "tarvelin: %s\n", error.c_str());
    return false;
  }
  return true;
}

// The panel until START, or in batch mode the settings of the command line
// taken as if START had been pressed on an untouched panel.
void run_start_panel(BenchmarkRun& run) {
  reconcile_panel_flags(run.run_options);
  StartPanel panel(run.run_options, run.run_state);
  if (!run.run_options.batch) {
    panel.show();
    return;
  }
  // What the panel would show about the pass file, the user is told here.
  char warning[MESSAGE_SIZE];
  if (panel.warning_line(warning, sizeof warning)) {
    std::fprintf(stderr, "%s\n", warning);
    std::fflush(stderr);
  }
  const platform::Size screen = platform::screen_size();
  panel.press_start(PANEL_RECT, screen.width, screen.height);
}

}  // namespace

std::optional<int> settle_settings(BenchmarkRun& run, int argc, char** argv) {
  RunOptions& options = run.run_options;
  run.run_state.record.command_line.assign(argv, argv + argc);
  argc = take_mode_options(argc, argv, options);
  platform::set_batch_mode(options.batch);
  // Message boxes need the display; its absence is told below. Off-screen
  // no X connection is made at all.
  if (!options.offscreen) platform::open_display();

  OptionMessage message;
  split_command_line(argc, argv, &run.words, options, message);
  if (!options.exit_requested) parse_options(run.words, options, message);
  if (options.exit_requested) return exit_after_options(options);
  if (!choose_where_to_draw(run)) return options.batch ? BATCH_FAILED : EXIT_NO_DISPLAY;

  build_surface_mesh(run.scene.surface_mesh);
  check_pass_file(run);
  run_start_panel(run);
  if (!run.run_state.start_pressed) return EXIT_DONE;
  // The panel may have changed what the command line asked for.
  if (const std::string conflict = conflicting_settings(options); !conflict.empty()) {
    platform::message_box("Error", conflict.c_str());
    return options.batch ? BATCH_USAGE : EXIT_ABANDONED;
  }
  return std::nullopt;
}
