// The 3D kernels, one row each, and the one protocol every 3D test runs
// through: a kernel says what it sets up, what it times and what shows its
// picture; run_scene_test times it, checks its picture and moves the object.
// The 3D suite, the picture checks and the reference poses all read these
// rows.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// What a kernel's frames do to the object (move_object).
enum class ObjectMotion : int8_t {
  one_spin,         // the swap test: one rotated frame
  spins,            // the accumulation tests: the spin composed once a frame
  turns_and_spins,  // the animated tests: the two halves of draw_animated_frames
};

// A kernel's word on whether its test can run here.
struct KernelSkip {
  enum Kind : int8_t { runs, by_check, off_screen } kind = runs;
  const char* reason = nullptr;  // a few words; null when it runs
};

struct SceneKernel {
  // Right after the test's title, before anything else; may pass the test
  // over, and then nothing more of it runs. May be null.
  KernelSkip (*prepare)(SceneSession& session);
  // The untimed drawing the frames start from: before the timed section,
  // and again before a check frame's frames.
  void (*begin)(SceneSession& session, const TestInfo& test);
  // After begin and the row's draw state: what the kernel switches on
  // around its frames, which may find the test cannot run. May be null.
  KernelSkip (*switch_on)(SceneSession& session);
  // After the test, timed or passed over by switch_on. May be null.
  void (*switch_off)(SceneSession& session);
  // The frames of the stage's display list, `count` of them (per half for
  // the animated kinds): the only part that is timed.
  void (*frames)(SceneSession& session, GLuint list, int32_t count);
  // After the frames, untimed: what shows their picture. May be null.
  void (*show)(SceneSession& session);
  ObjectMotion motion;
};

// The row of a 3D kernel.
const SceneKernel& scene_kernel(Kernel kernel);

// One 3D row, unless skipped: its title, the kernel's preparation, its
// begin and the row's draw state in the order its MatrixStart names, the
// kernel's own state, the frames timed (time_finished), the picture shown
// and checked (check_test_picture), the states switched off. A validation
// run moves the object for a test passed over (move_object), as the tests
// after it are compared with pictures drawn where it ran.
void run_scene_test(SceneSession& session, const TestInfo& test);

// A check frame's drawing of the test: its kernel's begin, `frames` frames
// and show, untimed, under the state the test has on.
void draw_kernel_frames(SceneSession& session, const TestInfo& test, int32_t frames);
