#include "scene3d/animation.h"

#include "core/stopwatch.h"
#include "scene3d/matrix_step.h"
#include "scene3d/scene_stages.h"

double run_animated(SceneRun& run, GLuint list, int32_t count) {
  SceneState& scene = run.scene;
  TestWindow& window = run.context.window;
  return time_finished([&] {
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
  });
}

void draw_rotated_frame(const SceneState& scene, GLuint list) {
  glRotated(scene.spin_angle_y, 0.0, 1.0, 0.0);
  glRotated(scene.spin_angle_x, 1.0, 0.0, 0.0);
  glCallList(list);
}

void turn_as_frames_would(SceneRun& run, const TestInfo& test) {
  SceneState& scene = run.scene;
  glGetFloatv(GL_MODELVIEW_MATRIX, scene.scene_matrix);
  int32_t spins = run.context.counts()[test.count];
  switch (test.kernel) {
    case Kernel::swap:
      spins = 1;
      break;
    case Kernel::accumulation:
    case Kernel::motion_blur:
      break;
    default:
      for (int32_t frame = 0; frame < spins; ++frame) {
        turn_scene_matrix(scene.scene_matrix, scene.step_sin_x, scene.step_cos_x, scene.step_sin_y,
                          scene.step_cos_y);
      }
      glLoadMatrixf(scene.scene_matrix);
      break;
  }
  for (int32_t frame = 0; frame < spins; ++frame) {
    glRotated(scene.spin_angle_y, 0.0, 1.0, 0.0);
    glRotated(scene.spin_angle_x, 1.0, 0.0, 0.0);
  }
}

void run_animated_test(SceneRun& run, const TestInfo& test) {
  const DrawState state = test.scene.state;
  run.context.started(test.id);
  if (test.scene.matrix == MatrixStart::state_then_read_back) draw_state_on(state);
  if (test.scene.matrix != MatrixStart::stored) {
    glGetFloatv(GL_MODELVIEW_MATRIX, run.scene.scene_matrix);
  }
  if (test.scene.matrix != MatrixStart::state_then_read_back) draw_state_on(state);
  const double seconds =
      run_animated(run, stage_list(test.scene.stage), run.context.counts()[test.count]);
  run.context.timed(test.id, seconds);
  draw_state_off(state);
}
