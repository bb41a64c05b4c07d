#include "scene3d/frame_buffer_tests.h"

#include <GL/gl.h>

#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"

namespace {

void read_back_matrix(SceneState& scene) { glGetFloatv(GL_MODELVIEW_MATRIX, scene.scene_matrix); }

}  // namespace

KernelSkip prepare_swap_test(SceneSession& session) {
  if (session.context.state.environment_info.offscreen()) {
    return {KernelSkip::off_screen, "no second buffer off-screen"};
  }
  build_vertex_shade_list(session.scene.surface_mesh);
  return {};
}

void draw_swap_frame(SceneSession& session, const TestInfo&) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  session.context.window.swap_buffers();
  read_back_matrix(session.scene);
  draw_rotated_frame(session.scene, LIST_VERTEX_SHADE);
}

void swap_frames(SceneSession& session, GLuint, int32_t swaps) {
  TestWindow& window = session.context.window;
  for (int32_t swap = 0; swap < swaps; ++swap) window.swap_buffers();
}

KernelSkip stencil_on(SceneSession& session) {
  glEnable(GL_STENCIL_TEST);
  const SuiteContext& context = session.context;
  if (context.options.auto_pass && context.state.environment_info.stencil_bits == 0) {
    return {KernelSkip::by_check, "no stencil buffer"};
  }
  return {};
}

void stencil_off(SceneSession&) { glDisable(GL_STENCIL_TEST); }

void begin_accumulation(SceneSession& session, const TestInfo&) {
  glClear(GL_ACCUM_BUFFER_BIT);
  read_back_matrix(session.scene);
}

void accumulate_frames(SceneSession& session, GLuint list, int32_t frames) {
  const GLfloat weight = static_cast<GLfloat>(1.0 / frames);
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(session.scene, list);
    glAccum(GL_ACCUM, weight);
    session.context.window.swap_buffers();
  }
  glAccum(GL_RETURN, 1.0f);
  glFlush();
}

void show_average(SceneSession& session) { session.context.window.swap_buffers(); }

void blur_frames(SceneSession& session, GLuint list, int32_t frames) {
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(session.scene, list);
    if (frame > 0) {
      glAccum(GL_ACCUM, 0.5f);
      glAccum(GL_RETURN, 1.0f);
    }
    glClear(GL_ACCUM_BUFFER_BIT);
    glAccum(GL_ACCUM, 0.5f);
    session.context.window.swap_buffers();
  }
}
