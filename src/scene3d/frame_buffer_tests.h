// The kernels of the frame-buffer tests: bare buffer swaps, drawing through
// the stencil test, averaging frames in the accumulation buffer and a motion
// blur trail through it. Each is called only for a test that is not
// skipped, with the 3D projection set.
#pragma once

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// "Swap Buffer": one untimed frame, then only swaps are timed. Builds
// LIST_VERTEX_SHADE and leaves it defined.
void run_swap_test(SceneRun& run, const TestInfo& test);

// "Stencil Buffer" on its stage's list. With the automatic check on and no
// stencil bits, it is marked skipped after its title instead of timed.
void run_stencil_test(SceneRun& run, const TestInfo& test);

// "Accumlation Buffer" and "Motion Blur" on their stage's list.
void run_accumulation_test(SceneRun& run, const TestInfo& test);
void run_motion_blur_test(SceneRun& run, const TestInfo& test);

// A test's drawing once more, untimed and with `frames` in place of its
// count, as its check frame: the swap test's frame and swaps; the
// accumulation tests' buffer cleared, matrix read back and frames (and for
// the average, the swap that shows it). The stencil test redraws as the
// animated tests do (redraw_animated_test).
void redraw_swap_test(SceneRun& run, const TestInfo& test, int32_t frames);
void redraw_accumulation_test(SceneRun& run, const TestInfo& test, int32_t frames);
void redraw_motion_blur_test(SceneRun& run, const TestInfo& test, int32_t frames);
