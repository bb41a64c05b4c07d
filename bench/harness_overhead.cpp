// Measures what the benchmark's harness adds to the work it times: the
// frame loop of "PolygonColor" as the program runs it, against a bare loop
// that makes the same GL calls on the same display list in the same kind
// of window, alternating in one run.
#include <GL/gl.h>
#include <GL/glx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "core/picture.h"
#include "core/progress.h"
#include "core/test_window.h"
#include "platform/platform.h"
#include "scene3d/animation.h"
#include "scene3d/matrix_step.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_setup.h"
#include "scene3d/scene_state.h"
#include "scene3d/surface_mesh.h"

namespace {

int frames_per_phase = 300;
int rounds = 6;
double harness_seconds = 0.0;
double bare_seconds = 0.0;
std::vector<double> round_ratios;

double now_seconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The benchmark's own run: its settings, state and scene, and no progress shown.
class NoProgress final : public ProgressReporter {
 public:
  void test_started(const TestInfo&, TestWindow&) override {}
  void test_timed(const TestInfo&, double) override {}
  void test_skipped(const TestInfo&, const char*) override {}
  void note(const char*) override {}
};
RunOptions options;
RunState state;
NoProgress no_progress;
SceneState scene;
SceneState& s = scene;

double bare_loop(GLuint list, int count) {
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  const double start = now_seconds();
  for (int frame = 0; frame < count; ++frame) {
    turn_scene_matrix(s.scene_matrix, s.step_sin_x, s.step_cos_x, s.step_sin_y, s.step_cos_y);
    glLoadMatrixf(s.scene_matrix);
    glCallList(list);
    glXSwapBuffers(display, drawable);
  }
  for (int frame = 0; frame < count; ++frame) {
    glRotated(s.spin_angle_y, 0.0, 1.0, 0.0);
    glRotated(s.spin_angle_x, 1.0, 0.0, 0.0);
    glCallList(list);
    glXSwapBuffers(display, drawable);
  }
  return now_seconds() - start;
}

void measure(TestWindow& window) {
  SuiteContext context{options, state, no_progress, window};
  SceneSession session{context, scene};
  setup_scene(session);
  set_perspective(TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
  build_facet_shade_list(scene.surface_mesh);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  bare_loop(LIST_FACET_SHADE, 20);  // warm up the driver
  for (int round = 0; round < rounds; ++round) {
    // Alternate which loop goes first so that drift favours neither.
    double harness = 0.0, bare = 0.0;
    if (round % 2 == 0) {
      harness = run_animated(session, LIST_FACET_SHADE, frames_per_phase);
      bare = bare_loop(LIST_FACET_SHADE, frames_per_phase);
    } else {
      bare = bare_loop(LIST_FACET_SHADE, frames_per_phase);
      harness = run_animated(session, LIST_FACET_SHADE, frames_per_phase);
    }
    std::printf("round %d: harness %.3f s, bare %.3f s\n", round + 1, harness, bare);
    harness_seconds += harness;
    bare_seconds += bare;
    round_ratios.push_back(harness / bare);
  }
  glDeleteLists(LIST_FACET_SHADE, 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) frames_per_phase = std::atoi(argv[1]);
  if (argc > 2) rounds = std::max(1, std::atoi(argv[2]));
  if (!platform::open_display()) {
    std::fprintf(stderr, "harness_overhead: no X display\n");
    return 1;
  }
  build_surface_mesh(scene.surface_mesh);
  const platform::WindowRect rect{50, 50, 562, 434};
  const platform::GlWindowRequest request{platform::GlWindowKind::double_buffered, 24};
  if (platform::run_gl_window(request, rect, "harness overhead", measure) !=
      platform::WindowOutcome::ran) {
    std::fprintf(stderr, "harness_overhead: no GL window\n");
    return 1;
  }
  std::printf("frames per loop %d, rounds %d\n", 2 * frames_per_phase, rounds);
  std::sort(round_ratios.begin(), round_ratios.end());
  const double median = round_ratios[round_ratios.size() / 2];
  std::printf("harness %.3f s, bare %.3f s, ratio of totals %.4f, median ratio %.4f\n",
              harness_seconds, bare_seconds, harness_seconds / bare_seconds, median);
  return 0;
}
