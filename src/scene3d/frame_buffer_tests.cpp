#include "scene3d/frame_buffer_tests.h"

#include <GL/gl.h>

#include "core/stopwatch.h"
#include "scene3d/animation.h"
#include "scene3d/check_frames.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_stages.h"

namespace {

void read_back_matrix(SceneState& scene) { glGetFloatv(GL_MODELVIEW_MATRIX, scene.scene_matrix); }

// The frame the swap test's swaps show: the window cleared and shown, then
// one rotated frame of the vertex-coloured mesh.
void draw_swap_frame(SceneRun& run) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  run.context.window.swap_buffers();
  read_back_matrix(run.scene);
  draw_rotated_frame(run.scene, LIST_VERTEX_SHADE);
}

void swap_repeatedly(TestWindow& window, int32_t swaps) {
  for (int32_t swap = 0; swap < swaps; ++swap) window.swap_buffers();
}

// What both accumulation tests do before their frames: the accumulation
// buffer cleared and the matrix read back.
void begin_accumulation(SceneRun& run) {
  glClear(GL_ACCUM_BUFFER_BIT);
  read_back_matrix(run.scene);
}

// n frames each added with weight 1/n, then the average returned and
// flushed; the swap that shows it is the caller's.
void accumulate_frames(SceneRun& run, GLuint list, int32_t frames) {
  const GLfloat weight = static_cast<GLfloat>(1.0 / frames);
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(run.scene, list);
    glAccum(GL_ACCUM, weight);
    run.context.window.swap_buffers();
  }
  glAccum(GL_RETURN, 1.0f);
  glFlush();
}

// Each shown frame is half the new frame and half the one shown before, so
// older frames fade by half per frame.
void blur_frames(SceneRun& run, GLuint list, int32_t frames) {
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(run.scene, list);
    if (frame > 0) {
      glAccum(GL_ACCUM, 0.5f);
      glAccum(GL_RETURN, 1.0f);
    }
    glClear(GL_ACCUM_BUFFER_BIT);
    glAccum(GL_ACCUM, 0.5f);
    run.context.window.swap_buffers();
  }
}

}  // namespace

// Off-screen there is one colour buffer, so a swap does nothing and its
// time would mean nothing.
void run_swap_test(SceneRun& run, const TestInfo& test) {
  run.context.started(test.id);
  if (run.context.run.environment_info.offscreen()) {
    run.context.skipped_off_screen(test.id, "no second buffer off-screen");
    return;
  }
  build_vertex_shade_list(run.scene.surface_mesh);
  draw_swap_frame(run);
  TestWindow& window = run.context.window;
  const int32_t swaps = run.context.count(test);
  const double seconds = time_finished([&] { swap_repeatedly(window, swaps); });
  run.context.timed(test.id, seconds);
  check_test_picture(run, test);
}

void redraw_swap_test(SceneRun& run, const TestInfo&, int32_t swaps) {
  draw_swap_frame(run);
  swap_repeatedly(run.context.window, swaps);
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
    context.timed(test.id, run_animated(run, stage_list(test.scene.stage), context.count(test)));
    check_test_picture(run, test);
  }
  glDisable(GL_STENCIL_TEST);
}

void run_accumulation_test(SceneRun& run, const TestInfo& test) {
  const GLuint list = stage_list(test.scene.stage);
  run.context.started(test.id);
  begin_accumulation(run);
  const int32_t frames = run.context.count(test);
  const double seconds = time_finished([&] { accumulate_frames(run, list, frames); });
  run.context.timed(test.id, seconds);
  run.context.window.swap_buffers();
  check_test_picture(run, test);
}

void redraw_accumulation_test(SceneRun& run, const TestInfo& test, int32_t frames) {
  begin_accumulation(run);
  accumulate_frames(run, stage_list(test.scene.stage), frames);
  run.context.window.swap_buffers();
}

void run_motion_blur_test(SceneRun& run, const TestInfo& test) {
  const GLuint list = stage_list(test.scene.stage);
  run.context.started(test.id);
  begin_accumulation(run);
  const int32_t frames = run.context.count(test);
  const double seconds = time_finished([&] { blur_frames(run, list, frames); });
  run.context.timed(test.id, seconds);
  check_test_picture(run, test);
}

void redraw_motion_blur_test(SceneRun& run, const TestInfo& test, int32_t frames) {
  begin_accumulation(run);
  blur_frames(run, stage_list(test.scene.stage), frames);
}
