// The 3D scene the run keeps from window to window: the object's
// orientation and spin (every test continues from where the one before it
// left the object) and the mesh it is drawn from. The run owns one
// SceneState, built before the first window.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "core/progress.h"
#include "scene3d/surface_mesh.h"

// Display lists of the 3D tests. Each begins with a compiled clear of
// colour and depth, so calling one draws a whole frame.
constexpr GLuint LIST_LINES = 1;
constexpr GLuint LIST_FACET_SHADE = 2;
constexpr GLuint LIST_VERTEX_SHADE = 3;
constexpr GLuint LIST_LIT = 4;
constexpr GLuint LIST_TEXTURED = 5;

// Where the object stands: GL's modelview matrix, the stored matrix the
// next host-side turns start from, and the spin GL composes.
struct ObjectPose {
  GLfloat modelview[16] = {};
  GLfloat scene_matrix[16] = {};
  double spin_angle_x = 0.0;
  double spin_angle_y = 0.0;
};

struct SceneState {
  // Column-major modelview matrix; starts as the identity with the object 10
  // units in front of the eye.
  GLfloat scene_matrix[16] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,   0.0f,
                              0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -10.0f, 1.0f};

  // The fixed host-side turn of each frame: 14.4 degrees about x, then 18
  // degrees about the new y.
  double step_sin_x = 0.0;
  double step_cos_x = 0.0;
  double step_sin_y = 0.0;
  double step_cos_y = 0.0;

  // The spin in degrees that GL composes in the second half of a test, drawn
  // anew from the generator at every 3D set-up.
  double spin_angle_x = 0.0;
  double spin_angle_y = 0.0;

  SurfaceMesh surface_mesh;

  // The stored matrix the window's set-up placed the lights under.
  GLfloat lights_matrix[16] = {};

  // Where each 3D test of a validation run, the reference pictures' run,
  // begins (index: TestId - FIRST_3D_TEST), and the matrix its lights were
  // placed under; found in the run's first 3D window when the run checks
  // its pictures, empty before.
  std::vector<ObjectPose> reference_poses;
  GLfloat reference_lights_matrix[16] = {};
  // The diffuse reflectance the reference's lit tests drew with. Colour
  // material takes it from the current colour when the lit tests turn it
  // on, which is whatever the last test drawn before them left: there, the
  // vertex-shade list of the accumulation tests.
  GLfloat reference_lit_diffuse[4] = {};
};

// One 3D window's session of the suite: the context it reports to and the
// scene.
struct SceneSession {
  SuiteContext& context;
  SceneState& scene;
  // The running test began as its reference picture did (the same pose and
  // spin, the test-loop counts), so its timed frames leave that picture.
  bool started_as_reference = false;
};
