#include "scene3d/scene_kernels.h"

#include <iterator>

#include "core/stopwatch.h"
#include "scene3d/animation.h"
#include "scene3d/check_frames.h"
#include "scene3d/frame_buffer_tests.h"
#include "scene3d/scene_stages.h"

namespace {

// In Kernel order from swap. The stencil test begins and draws as the
// animated tests do, through the stencil test it switches on.
constexpr SceneKernel SCENE_KERNELS[] = {
    {prepare_swap_test, draw_swap_frame, nullptr, nullptr, swap_frames, nullptr,
     ObjectMotion::one_spin},  // swap
    {nullptr, take_starting_matrix, nullptr, nullptr, draw_animated_frames, nullptr,
     ObjectMotion::turns_and_spins},  // animated
    {nullptr, take_starting_matrix, stencil_on, stencil_off, draw_animated_frames, nullptr,
     ObjectMotion::turns_and_spins},  // stencil
    {nullptr, begin_accumulation, nullptr, nullptr, accumulate_frames, show_average,
     ObjectMotion::spins},  // accumulation
    {nullptr, begin_accumulation, nullptr, nullptr, blur_frames, nullptr,
     ObjectMotion::spins},  // motion_blur
};
static_assert(std::size(SCENE_KERNELS) ==
              static_cast<size_t>(Kernel::motion_blur) - static_cast<size_t>(Kernel::swap) + 1);

KernelSkip ask(KernelSkip (*step)(SceneSession&), SceneSession& session) {
  return step != nullptr ? step(session) : KernelSkip{};
}

// Records the kernel's skip, if it has one; true when the test is passed
// over.
bool passed_over(SceneSession& session, const TestInfo& test, const KernelSkip& skip) {
  switch (skip.kind) {
    case KernelSkip::by_check:
      session.context.skipped_by_check(test.id, skip.reason);
      return true;
    case KernelSkip::off_screen:
      session.context.skipped_off_screen(test.id, skip.reason);
      return true;
    case KernelSkip::runs:
      break;
  }
  return false;
}

void time_and_check(SceneSession& session, const TestInfo& test, const SceneKernel& kernel) {
  const GLuint list = stage_list(test.scene.stage);
  const int32_t count = session.context.count(test);
  session.context.wait_turn(test.id);
  session.context.timed(test.id, time_finished([&] { kernel.frames(session, list, count); }));
  if (kernel.show != nullptr) kernel.show(session);
  check_test_picture(session, test);
}

void run_kernel(SceneSession& session, const TestInfo& test) {
  const SceneKernel& kernel = scene_kernel(test.kernel);
  const DrawState state = test.scene.state;
  session.context.started(test.id);
  if (passed_over(session, test, ask(kernel.prepare, session))) return;
  const bool state_first = test.scene.matrix == MatrixStart::state_then_read_back;
  if (state_first) draw_state_on(state);
  kernel.begin(session, test);
  if (!state_first) draw_state_on(state);
  if (!passed_over(session, test, ask(kernel.switch_on, session)))
    time_and_check(session, test, kernel);
  if (kernel.switch_off != nullptr) kernel.switch_off(session);
  draw_state_off(state);
}

}  // namespace

const SceneKernel& scene_kernel(Kernel kernel) {
  return SCENE_KERNELS[static_cast<int>(kernel) - static_cast<int>(Kernel::swap)];
}

void run_scene_test(SceneSession& session, const TestInfo& test) {
  SuiteContext& context = session.context;
  if (!context.skipped(test.id)) {
    note_test_start(session, test);
    run_kernel(session, test);
  }
  if (context.skipped(test.id) && context.options.validating()) {
    move_object(session, test, context.count(test));
  }
}

void draw_kernel_frames(SceneSession& session, const TestInfo& test, int32_t frames) {
  const SceneKernel& kernel = scene_kernel(test.kernel);
  kernel.begin(session, test);
  kernel.frames(session, stage_list(test.scene.stage), frames);
  if (kernel.show != nullptr) kernel.show(session);
}
