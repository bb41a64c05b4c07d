#include "app/test_windows.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/environment_info.h"
#include "core/run_options.h"
#include "core/test_window.h"
#include "platform/platform.h"
#include "raster2d/raster_suite.h"
#include "report/status_text.h"
#include "scene3d/frame_buffer_tests.h"
#include "scene3d/primitive_tests.h"
#include "scene3d/scene_setup.h"
#include "scene3d/shading_tests.h"
#include "scene3d/texture_tests.h"

namespace {

SwapIntervalState swap_interval_state(platform::SwapInterval interval) {
  switch (interval) {
    case platform::SwapInterval::zero:
      return SwapIntervalState::zero;
    case platform::SwapInterval::driver_by_request:
      return SwapIntervalState::driver_by_request;
    case platform::SwapInterval::driver_no_control:
      return SwapIntervalState::driver_no_control;
    case platform::SwapInterval::not_set:
      break;
  }
  return SwapIntervalState::unknown;
}

// Kept for the report; in batch mode also told before the first test, and
// again only if a later window got a different one.
void note_swap_interval() {
  const SwapIntervalState state = swap_interval_state(platform::test_window_swap_interval());
  if (state == environment_info.swap_interval) return;
  environment_info.swap_interval = state;
  const char* line = swap_interval_line(state);
  if (run_options.batch && line != nullptr) {
    std::printf("%s\n", line);
    std::fflush(stdout);
  }
}

// The 3D window's first draw: the scene set-up and probe, then the test
// families in an order that matters, since GL state and the object's
// orientation carry from one family to the next.
void run_3d_window_suite() {
  note_swap_interval();
  setup_scene();
  if (run_options.status_only) return;
  set_perspective(TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
  run_swap_test();
  run_line_tests();
  run_primitive_tests();
  run_buffer_tests();
  run_shading_tests();
  run_texture_tests();
}

// The 2D window's first draw.
void run_2d_window_suite() { run_2d_suite(); }

void report_window_failure(platform::WindowOutcome outcome) {
  switch (outcome) {
    case platform::WindowOutcome::no_visual:
      platform::message_box("Error", "ChoosePixelFormat failed");
      break;
    case platform::WindowOutcome::no_context:
      platform::message_box("Error", "SetPixelFormat failed");
      break;
    case platform::WindowOutcome::not_created:
      platform::message_box("Error", "The test window could not be created");
      break;
    case platform::WindowOutcome::ran:
      break;
  }
}

}  // namespace

bool run_test_window() {
  char title[64];
  std::snprintf(title, sizeof title, "Tarvelin %s", VERSION_TEXT);
  const ScreenRect& r = run_state.window_rect;
  const platform::WindowRect rect{r.left, r.top, r.right, r.bottom};
  const bool is_3d = run_state.run_mode == RUN_MODE_3D;
  const platform::WindowOutcome outcome =
      is_3d ? platform::run_gl_window({platform::GlWindowKind::double_buffered,
                                       run_options.depth_bits & 0xFF, run_options.vsync != 0},
                                      rect, title, run_3d_window_suite)
            : platform::run_gl_window({platform::GlWindowKind::single_buffered}, rect, title,
                                      run_2d_window_suite);
  if (outcome == platform::WindowOutcome::ran) return true;
  report_window_failure(outcome);
  return false;
}
