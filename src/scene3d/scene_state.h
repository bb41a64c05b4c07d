// The object's orientation and spin, kept for the whole run: every test
// continues from where the one before it left the object.
#pragma once

#include <GL/gl.h>

// Display lists of the 3D tests. Each begins with a compiled clear of
// colour and depth, so calling one draws a whole frame.
constexpr GLuint LIST_LINES = 1;
constexpr GLuint LIST_FACET_SHADE = 2;
constexpr GLuint LIST_VERTEX_SHADE = 3;
constexpr GLuint LIST_LIT = 4;
constexpr GLuint LIST_TEXTURED = 5;

// Column-major modelview matrix; starts as the identity with the object 10
// units in front of the eye.
extern GLfloat scene_matrix[16];

// The fixed host-side turn of each frame: 14.4 degrees about x, then 18
// degrees about the new y.
extern double step_sin_x;
extern double step_cos_x;
extern double step_sin_y;
extern double step_cos_y;

// The spin in degrees that GL composes in the second half of a test, drawn
// anew from the generator at every 3D set-up.
extern double spin_angle_x;
extern double spin_angle_y;
