#include "scene3d/scene_suite.h"

#include "core/test_window.h"
#include "scene3d/check_frames.h"
#include "scene3d/scene_kernels.h"
#include "scene3d/scene_setup.h"
#include "scene3d/scene_stages.h"

namespace {

// GL state and the object's orientation carry from one test to the next,
// so the rows run strictly in catalogue order. A stage's set-up runs as a
// run of its rows opens and its tear-down as it closes, whether or not the
// tests are skipped. A run that stops before a test leaves the stage as
// it is: the window and its GL context end with the pass.
void run_3d_rows(SceneSession& session) {
  PolygonMode polygon_mode = PolygonMode::keep;
  for (int id = FIRST_3D_TEST; id <= LAST_3D_TEST && !session.context.stop_wanted(); ++id) {
    const TestInfo& test = test_catalogue[id];
    if (opens_stage_run(id)) {
      polygon_mode = PolygonMode::keep;
      enter_stage(test, session);
    }
    if (test.scene.polygon_mode != polygon_mode) {
      polygon_mode = test.scene.polygon_mode;
      apply_polygon_mode(polygon_mode);
    }
    run_scene_test(session, test);
    session.context.drawn(test.id);
    if (closes_stage_run(id)) leave_stage(test.scene.stage, session);
  }
}

}  // namespace

void run_3d_suite(SuiteContext& context, SceneState& scene) {
  SceneSession session{context, scene};
  setup_scene(session);
  if (context.options.status_only) return;
  set_perspective(TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
  find_reference_poses(session);
  run_3d_rows(session);
}
