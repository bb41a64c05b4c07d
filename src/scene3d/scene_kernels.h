// The 3D kernels, one row each: how a test of the kernel runs, how its
// check frame draws it again, and how its frames move the object. The 3D
// suite, the picture checks and the reference poses all read these rows.
#pragma once

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// What a kernel's frames do to the object (move_object).
enum class ObjectMotion : int8_t {
  one_spin,         // the swap test: one rotated frame
  spins,            // the accumulation tests: the spin composed once a frame
  turns_and_spins,  // the animated tests: the two halves of draw_animated_frames
};

struct SceneKernel {
  // The test, timed, with its title, stored time and picture check (not
  // called for a skipped test).
  void (*run)(SceneRun& run, const TestInfo& test);
  // Its check frame: the same drawing untimed, `frames` frames (per half
  // for the animated kinds).
  void (*redraw)(SceneRun& run, const TestInfo& test, int32_t frames);
  ObjectMotion motion;
};

// The row of a 3D kernel.
const SceneKernel& scene_kernel(Kernel kernel);
