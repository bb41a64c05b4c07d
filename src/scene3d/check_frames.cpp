#include "scene3d/check_frames.h"

#include <cstring>

#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_kernels.h"
#include "scene3d/scene_setup.h"

namespace {

ObjectPose current_pose(const SceneState& scene) {
  ObjectPose pose;
  glGetFloatv(GL_MODELVIEW_MATRIX, pose.modelview);
  std::memcpy(pose.scene_matrix, scene.scene_matrix, sizeof pose.scene_matrix);
  pose.spin_angle_x = scene.spin_angle_x;
  pose.spin_angle_y = scene.spin_angle_y;
  return pose;
}

void take_pose(SceneState& scene, const ObjectPose& pose) {
  glLoadMatrixf(pose.modelview);
  std::memcpy(scene.scene_matrix, pose.scene_matrix, sizeof scene.scene_matrix);
  scene.spin_angle_x = pose.spin_angle_x;
  scene.spin_angle_y = pose.spin_angle_y;
}

bool same_pose(const ObjectPose& a, const ObjectPose& b) {
  return std::memcmp(a.modelview, b.modelview, sizeof a.modelview) == 0 &&
         std::memcmp(a.scene_matrix, b.scene_matrix, sizeof a.scene_matrix) == 0 &&
         a.spin_angle_x == b.spin_angle_x && a.spin_angle_y == b.spin_angle_y;
}

// Lit drawing depends on the diffuse reflectance, which the tests before
// the lit ones leave behind; unlit drawing does not.
bool lit_as_reference(const SceneState& scene) {
  if (!glIsEnabled(GL_LIGHTING)) return true;
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  return std::memcmp(diffuse, scene.reference_lit_diffuse, sizeof diffuse) == 0;
}

const ObjectPose& reference_pose(const SceneSession& session, const TestInfo& test) {
  return session.scene.reference_poses[test.id - FIRST_3D_TEST];
}

}  // namespace

void find_reference_poses(SceneSession& session) {
  SceneState& scene = session.scene;
  if (!session.context.checking_pictures() || !scene.reference_poses.empty()) return;
  std::memcpy(scene.reference_lights_matrix, scene.lights_matrix,
              sizeof scene.reference_lights_matrix);
  const GLfloat grey = vertex_shade_list_last_grey(scene.surface_mesh);
  const GLfloat diffuse[4] = {grey, grey, grey, 1.0f};
  std::memcpy(scene.reference_lit_diffuse, diffuse, sizeof diffuse);
  const ObjectPose start = current_pose(scene);
  for (int id = FIRST_3D_TEST; id <= LAST_3D_TEST; ++id) {
    scene.reference_poses.push_back(current_pose(scene));
    move_object(session, test_catalogue[id], TEST_LOOP_COUNT);
  }
  take_pose(scene, start);
}

void note_test_start(SceneSession& session, const TestInfo& test) {
  const SceneState& scene = session.scene;
  session.started_as_reference =
      session.context.checking_pictures() && session.context.count(test) == TEST_LOOP_COUNT &&
      std::memcmp(scene.lights_matrix, scene.reference_lights_matrix, sizeof scene.lights_matrix) ==
          0 &&
      lit_as_reference(scene) && same_pose(current_pose(scene), reference_pose(session, test));
}

void check_test_picture(SceneSession& session, const TestInfo& test) {
  if (!session.context.checking_pictures()) return;
  if (session.started_as_reference) {
    session.context.picture_ready(test.id, PictureSource::timed_frames);
    return;
  }
  // The lights stay where each window's set-up placed them, under the
  // object as that pass found it; the reference's were placed in the first.
  const ObjectPose after_test = current_pose(session.scene);
  glPushAttrib(GL_LIGHTING_BIT);
  glLoadMatrixf(session.scene.reference_lights_matrix);
  set_lights();
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, session.scene.reference_lit_diffuse);
  take_pose(session.scene, reference_pose(session, test));
  draw_kernel_frames(session, test, TEST_LOOP_COUNT);
  session.context.picture_ready(test.id, PictureSource::check_frame);
  glPopAttrib();
  take_pose(session.scene, after_test);
}
