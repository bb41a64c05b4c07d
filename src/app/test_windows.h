// The two test windows: each runs its suite in its first draw.
#pragma once

#include <string>

#include "core/progress.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "scene3d/scene_state.h"

// Which suite's window a pass opens.
enum RunMode : int32_t {
  RUN_MODE_3D = 0,  // double-buffered 3D test window
  RUN_MODE_2D = 1,  // single-buffered 2D test window
};

// Opens the test window of `mode` at state.window_rect, runs its
// suite in the first draw and returns once it has closed itself; a 3D
// window asks for state.depth_bits_asked (its low 8 bits) and its granted
// depth becomes the request of the next one. False, after an "Error" box, when the window or its GL
// context could not be had: the run cannot go on. The hooks, when set, go to the suite's context
// (see SuiteContext).
bool run_test_window(RunMode mode, const RunOptions& options, RunState& state, SceneState& scene,
                     ProgressReporter& progress, const SuiteHooks& hooks = {});

// Makes every later test window an off-screen EGL surface, on the device
// options.egl_device names or the one EGL finds, and records in `info`
// where they draw. False, with `error` saying what failed, when there is
// no such device or it gives no GL context.
bool start_offscreen_windows(const RunOptions& options, EnvironmentInfo& info, std::string* error);
