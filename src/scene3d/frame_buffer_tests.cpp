#include "scene3d/frame_buffer_tests.h"

#include <GL/gl.h>

#include "core/environment_info.h"
#include "core/progress_title.h"
#include "core/run_options.h"
#include "core/stopwatch.h"
#include "core/test_window.h"
#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_state.h"

namespace {

constexpr int SWAP_COUNT_ENTRY = 3;
constexpr int STENCIL_COUNT_ENTRY = 6;
constexpr int ACCUMULATION_COUNT_ENTRY = 7;

void read_back_matrix() { glGetFloatv(GL_MODELVIEW_MATRIX, scene_matrix); }

void run_stencil_test() {
  using test_id::stencil_buffer;
  if (skip_flags[stencil_buffer]) return;
  set_progress_title(test_catalogue[stencil_buffer].title);
  read_back_matrix();
  glEnable(GL_STENCIL_TEST);
  if (run_options.auto_pass && environment_info.stencil_bits == 0) {
    record_check_skip(stencil_buffer);
  } else {
    // The stencil set-up lets only the checkerboard's pixels receive the
    // mesh; the list's clear still clears everything.
    record_test_time(stencil_buffer,
                     run_animated(LIST_VERTEX_SHADE, repeat_counts[STENCIL_COUNT_ENTRY]));
  }
  glDisable(GL_STENCIL_TEST);
}

bool accumulation_missing() {
  const EnvironmentInfo& info = environment_info;
  return info.accum_red_bits == 0 || info.accum_green_bits == 0 || info.accum_blue_bits == 0;
}

// n frames each added with weight 1/n, then the average returned; the
// final return and flush are timed, the swap that shows the average is not.
void run_accumulation_test() {
  using test_id::accumulation_buffer;
  if (skip_flags[accumulation_buffer]) return;
  const int32_t frames = repeat_counts[ACCUMULATION_COUNT_ENTRY];
  set_progress_title(test_catalogue[accumulation_buffer].title);
  glClear(GL_ACCUM_BUFFER_BIT);
  read_back_matrix();
  const GLfloat weight = static_cast<GLfloat>(1.0 / frames);
  glFinish();
  stopwatch_start();
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(LIST_VERTEX_SHADE);
    glAccum(GL_ACCUM, weight);
    swap_buffers();
  }
  glAccum(GL_RETURN, 1.0f);
  glFlush();
  glFinish();
  const double seconds = stopwatch_elapsed();
  record_test_time(accumulation_buffer, seconds);
  swap_buffers();
}

// Each shown frame is half the new frame and half the one shown before, so
// older frames fade by half per frame.
void run_motion_blur_test() {
  using test_id::blur;
  if (skip_flags[blur]) return;
  const int32_t frames = repeat_counts[ACCUMULATION_COUNT_ENTRY];
  set_progress_title(test_catalogue[blur].title);
  glClear(GL_ACCUM_BUFFER_BIT);
  read_back_matrix();
  glFinish();
  stopwatch_start();
  for (int32_t frame = 0; frame < frames; ++frame) {
    draw_rotated_frame(LIST_VERTEX_SHADE);
    if (frame > 0) {
      glAccum(GL_ACCUM, 0.5f);
      glAccum(GL_RETURN, 1.0f);
    }
    glClear(GL_ACCUM_BUFFER_BIT);
    glAccum(GL_ACCUM, 0.5f);
    swap_buffers();
  }
  glFinish();
  const double seconds = stopwatch_elapsed();
  record_test_time(blur, seconds);
}

}  // namespace

void run_swap_test() {
  using test_id::swap_buffer;
  if (skip_flags[swap_buffer]) return;
  set_progress_title(test_catalogue[swap_buffer].title);
  build_vertex_shade_list();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  swap_buffers();
  read_back_matrix();
  draw_rotated_frame(LIST_VERTEX_SHADE);
  const int32_t swaps = repeat_counts[SWAP_COUNT_ENTRY];
  glFinish();
  stopwatch_start();
  for (int32_t swap = 0; swap < swaps; ++swap) swap_buffers();
  glFinish();
  const double seconds = stopwatch_elapsed();
  record_test_time(swap_buffer, seconds);
}

void run_buffer_tests() {
  build_vertex_shade_list();
  run_stencil_test();
  if (run_options.auto_pass && accumulation_missing()) {
    // Both are passed over before either title is shown, so there is no
    // title line for a batch note either.
    skip_flags[test_id::accumulation_buffer] = 1;
    skip_flags[test_id::blur] = 1;
  }
  run_accumulation_test();
  run_motion_blur_test();
  glDeleteLists(LIST_VERTEX_SHADE, 1);
}
