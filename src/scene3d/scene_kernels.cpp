#include "scene3d/scene_kernels.h"

#include <iterator>

#include "scene3d/animation.h"
#include "scene3d/frame_buffer_tests.h"

namespace {

// In Kernel order from swap.
constexpr SceneKernel SCENE_KERNELS[] = {
    {run_swap_test, redraw_swap_test, ObjectMotion::one_spin},                 // swap
    {run_animated_test, redraw_animated_test, ObjectMotion::turns_and_spins},  // animated
    // The stencil test is still on for its check frame.
    {run_stencil_test, redraw_animated_test, ObjectMotion::turns_and_spins},  // stencil
    {run_accumulation_test, redraw_accumulation_test, ObjectMotion::spins},   // accumulation
    {run_motion_blur_test, redraw_motion_blur_test, ObjectMotion::spins},     // motion_blur
};
static_assert(std::size(SCENE_KERNELS) ==
              static_cast<size_t>(Kernel::motion_blur) - static_cast<size_t>(Kernel::swap) + 1);

}  // namespace

const SceneKernel& scene_kernel(Kernel kernel) {
  return SCENE_KERNELS[static_cast<int>(kernel) - static_cast<int>(Kernel::swap)];
}
