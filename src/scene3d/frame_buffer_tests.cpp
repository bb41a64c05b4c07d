#include "scene3d/frame_buffer_tests.h"

#include <GL/gl.h>

#include "core/stopwatch.h"
#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_stages.h"

namespace {

void read_back_matrix(SceneState& scene) { glGetFloatv(GL_MODELVIEW_MATRIX, scene.scene_matrix); }

// What both accumulation tests do before their frames: the title, the
// accumulation buffer cleared and the matrix read back. Returns the frames.
int32_t start_accumulation_test(SceneRun& run, const TestInfo& test) {
  run.context.started(test.id);
  glClear(GL_ACCUM_BUFFER_BIT);
  read_back_matrix(run.scene);
  return run.context.counts()[test.count];
}

}  // namespace

// Off-screen there is one colour buffer, so a swap does nothing and its
// time would mean nothing.
void run_swap_test(SceneRun& run, const TestInfo& test) {
  run.context.started(test.id);
  if (run.context.run.environment_info.offscreen()) {
    run.context.skipped_by_check(test.id, "no second buffer off-screen");
    return;
  }
  build_vertex_shade_list(run.scene.surface_mesh);
  TestWindow& window = run.context.window;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  window.swap_buffers();
  read_back_matrix(run.scene);
  draw_rotated_frame(run.scene, LIST_VERTEX_SHADE);
  const int32_t swaps = run.context.counts()[test.count];
  const double seconds = time_finished([&] {
    for (int32_t swap = 0; swap < swaps; ++swap) window.swap_buffers();
  });
  run.context.timed(test.id, seconds);
}

void run_stencil_test(SceneRun& run, const TestInfo& test) {
  SuiteContext& context = run.context;
  context.started(test.id);
  read_back_matrix(run.scene);
  glEnable(GL_STENCIL_TEST);
  if (context.options.auto_pass && context.run.environment_info.stencil_bits == 0) {
    context.skipped_by_check(test.id, "no stencil buffer");
  } else {
    // The stencil set-up lets only the checkerboard's pixels receive the
    // mesh; the list's clear still clears everything.
    context.timed(test.id,
                  run_animated(run, stage_list(test.scene.stage), context.counts()[test.count]));
  }
  glDisable(GL_STENCIL_TEST);
}

// n frames each added with weight 1/n, then the average returned; the
// final return and flush are timed, the swap that shows the average is not.
void run_accumulation_test(SceneRun& run, const TestInfo& test) {
  const GLuint list = stage_list(test.scene.stage);
  const int32_t frames = start_accumulation_test(run, test);
  const GLfloat weight = static_cast<GLfloat>(1.0 / frames);
  TestWindow& window = run.context.window;
  const double seconds = time_finished([&] {
    for (int32_t frame = 0; frame < frames; ++frame) {
      draw_rotated_frame(run.scene, list);
      glAccum(GL_ACCUM, weight);
      window.swap_buffers();
    }
    glAccum(GL_RETURN, 1.0f);
    glFlush();
  });
  run.context.timed(test.id, seconds);
  window.swap_buffers();
}

// Each shown frame is half the new frame and half the one shown before, so
// older frames fade by half per frame.
void run_motion_blur_test(SceneRun& run, const TestInfo& test) {
  const GLuint list = stage_list(test.scene.stage);
  const int32_t frames = start_accumulation_test(run, test);
  TestWindow& window = run.context.window;
  const double seconds = time_finished([&] {
    for (int32_t frame = 0; frame < frames; ++frame) {
      draw_rotated_frame(run.scene, list);
      if (frame > 0) {
        glAccum(GL_ACCUM, 0.5f);
        glAccum(GL_RETURN, 1.0f);
      }
      glClear(GL_ACCUM_BUFFER_BIT);
      glAccum(GL_ACCUM, 0.5f);
      window.swap_buffers();
    }
  });
  run.context.timed(test.id, seconds);
}
