#include "app/test_windows.h"

#include <cstdio>
#include <string>

#include "core/test_hooks.h"
#include "platform/platform.h"
#include "raster2d/raster_suite.h"
#include "report/status_text.h"
#include "scene3d/scene_suite.h"

namespace {

// Kept for the report; in batch mode also told before the first test, and
// again only if a later window got a different one.
void note_swap_interval(EnvironmentInfo& info, ProgressReporter& progress) {
  const SwapIntervalState state = platform::test_window_swap_interval();
  if (state == info.swap_interval) return;
  info.swap_interval = state;
  const char* line = swap_interval_line(state);
  if (line != nullptr) progress.note(line);
}

// The buffers a window asks for, as the test hook may change them.
platform::BufferChoice buffer_choice() {
  switch (gl_visual_hook()) {
    case GlVisualHook::plain:
      return platform::BufferChoice::plain;
    case GlVisualHook::none:
      return platform::BufferChoice::impossible;
    case GlVisualHook::normal:
      break;
  }
  return platform::BufferChoice::preferred;
}

// The texts users and scripts know, kept on purpose although X has no pixel
// formats (docs/architecture.md).
void report_window_failure(platform::WindowOutcome outcome) {
  switch (outcome) {
    case platform::WindowOutcome::no_visual:
      platform::message_box("Error", "ChoosePixelFormat failed");
      break;
    case platform::WindowOutcome::no_context: {
      // The known words first, then what the window system said, if it did.
      const std::string why = platform::last_context_error();
      platform::message_box("Error",
                            ("SetPixelFormat failed" + (why.empty() ? "" : "\n" + why)).c_str());
      break;
    }
    case platform::WindowOutcome::not_created:
      platform::message_box("Error", "The test window could not be created");
      break;
    case platform::WindowOutcome::ran:
      break;
  }
}

}  // namespace

bool run_test_window(RunMode mode, const RunOptions& options, RunState& state, SceneState& scene,
                     ProgressReporter& progress, const SuiteHooks& hooks) {
  const ScreenRect& rect = state.window_rect;
  const bool is_3d = mode == RUN_MODE_3D;
  // A validation run draws the 2D tests into a back buffer, where every
  // implementation reads back what it drew: Mesa's softpipe under Xvfb reads
  // a single-buffered window's front buffer as it was some draws ago. The
  // pictures are the same; only where they are drawn differs.
  const bool double_buffered = is_3d || options.validating();
  const platform::GlWindowRequest request{double_buffered ? platform::GlWindowKind::double_buffered
                                                          : platform::GlWindowKind::single_buffered,
                                          is_3d ? state.depth_bits_asked & 0xFF : 0,
                                          buffer_choice(), is_3d && options.vsync};
  const platform::WindowOutcome outcome =
      platform::run_gl_window(request, rect, WINDOW_TITLE, [&](TestWindow& window) {
        SuiteContext context{options, state, progress, window, hooks};
        if (is_3d) {
          note_swap_interval(state.environment_info, progress);
          run_3d_suite(context, scene);
        } else {
          run_2d_suite(context);
        }
      });
  if (is_3d && outcome == platform::WindowOutcome::ran) {
    state.depth_bits_asked = state.environment_info.depth_bits_3d;
  }
  if (outcome == platform::WindowOutcome::ran) return true;
  report_window_failure(outcome);
  return false;
}

bool start_offscreen_windows(const RunOptions& options, EnvironmentInfo& info, std::string* error) {
  platform::OffscreenPlace place;
  if (!platform::start_offscreen(options.egl_device, &place, error)) return false;
  if (place.kind == platform::OffscreenKind::surfaceless) {
    info.gl_platform = GlPlatform::egl_surfaceless;
    return true;
  }
  info.gl_platform = GlPlatform::egl_device;
  info.egl_device = place.device;
  if (!place.drm_file.empty()) info.drm_file = place.drm_file;
  return true;
}
