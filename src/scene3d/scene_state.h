// The 3D scene the run keeps from window to window: the object's
// orientation and spin (every test continues from where the one before it
// left the object) and the mesh it is drawn from. The run owns one
// SceneState, built before the first window.
#pragma once

#include <GL/gl.h>

#include "core/progress.h"
#include "scene3d/surface_mesh.h"

// Display lists of the 3D tests. Each begins with a compiled clear of
// colour and depth, so calling one draws a whole frame.
constexpr GLuint LIST_LINES = 1;
constexpr GLuint LIST_FACET_SHADE = 2;
constexpr GLuint LIST_VERTEX_SHADE = 3;
constexpr GLuint LIST_LIT = 4;
constexpr GLuint LIST_TEXTURED = 5;

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
};

// One 3D window's run of the suite: the run's context and its scene.
struct SceneRun {
  SuiteContext& context;
  SceneState& scene;
};
