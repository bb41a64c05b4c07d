#include "scene3d/animation.h"

#include "core/stopwatch.h"
#include "scene3d/matrix_step.h"
#include "scene3d/scene_kernels.h"

void draw_animated_frames(SceneSession& session, GLuint list, int32_t count) {
  SceneState& scene = session.scene;
  TestWindow& window = session.context.window;
  for (int32_t frame = 0; frame < count; ++frame) {
    turn_scene_matrix(scene.scene_matrix, scene.step_sin_x, scene.step_cos_x, scene.step_sin_y,
                      scene.step_cos_y);
    glLoadMatrixf(scene.scene_matrix);
    glCallList(list);
    window.swap_buffers();
  }
  for (int32_t frame = 0; frame < count; ++frame) {
    glRotated(scene.spin_angle_y, 0.0, 1.0, 0.0);
    glRotated(scene.spin_angle_x, 1.0, 0.0, 0.0);
    glCallList(list);
    window.swap_buffers();
  }
}

double run_animated(SceneSession& session, GLuint list, int32_t count) {
  return time_finished([&] { draw_animated_frames(session, list, count); });
}

void draw_rotated_frame(const SceneState& scene, GLuint list) {
  glRotated(scene.spin_angle_y, 0.0, 1.0, 0.0);
  glRotated(scene.spin_angle_x, 1.0, 0.0, 0.0);
  glCallList(list);
}

void take_starting_matrix(SceneSession& session, const TestInfo& test) {
  if (test.scene.matrix != MatrixStart::stored) {
    glGetFloatv(GL_MODELVIEW_MATRIX, session.scene.scene_matrix);
  }
}

void move_object(SceneSession& session, const TestInfo& test, int32_t frames) {
  SceneState& scene = session.scene;
  take_starting_matrix(session, test);
  const ObjectMotion motion = scene_kernel(test.kernel).motion;
  const int32_t spins = motion == ObjectMotion::one_spin ? 1 : frames;
  if (motion == ObjectMotion::turns_and_spins) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      turn_scene_matrix(scene.scene_matrix, scene.step_sin_x, scene.step_cos_x, scene.step_sin_y,
                        scene.step_cos_y);
    }
    glLoadMatrixf(scene.scene_matrix);
  }
  for (int32_t frame = 0; frame < spins; ++frame) {
    glRotated(scene.spin_angle_y, 0.0, 1.0, 0.0);
    glRotated(scene.spin_angle_x, 1.0, 0.0, 0.0);
  }
}
