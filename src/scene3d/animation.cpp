#include "scene3d/animation.h"

#include "core/progress_title.h"
#include "core/run_options.h"
#include "core/stopwatch.h"
#include "core/test_window.h"
#include "scene3d/matrix_step.h"
#include "scene3d/scene_state.h"

double run_animated(GLuint list, int32_t count) {
  glFinish();
  stopwatch_start();
  for (int32_t frame = 0; frame < count; ++frame) {
    turn_scene_matrix(scene_matrix, step_sin_x, step_cos_x, step_sin_y, step_cos_y);
    glLoadMatrixf(scene_matrix);
    glCallList(list);
    swap_buffers();
  }
  for (int32_t frame = 0; frame < count; ++frame) {
    glRotated(spin_angle_y, 0.0, 1.0, 0.0);
    glRotated(spin_angle_x, 1.0, 0.0, 0.0);
    glCallList(list);
    swap_buffers();
  }
  glFinish();
  return stopwatch_elapsed();
}

void draw_rotated_frame(GLuint list) {
  glRotated(spin_angle_y, 0.0, 1.0, 0.0);
  glRotated(spin_angle_x, 1.0, 0.0, 0.0);
  glCallList(list);
}

void run_animated_test(const AnimatedTest& test) {
  if (skip_flags[test.id]) return;
  set_progress_title(test_catalogue[test.id].title);
  if (test.enable_before_read_back && test.enable != nullptr) test.enable();
  if (test.read_back_matrix) glGetFloatv(GL_MODELVIEW_MATRIX, scene_matrix);
  if (!test.enable_before_read_back && test.enable != nullptr) test.enable();
  const double seconds = run_animated(test.list, repeat_counts[test.count_entry]);
  record_test_time(test.id, seconds);
  if (test.disable != nullptr) test.disable();
}
