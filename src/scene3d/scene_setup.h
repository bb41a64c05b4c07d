// The 3D window's first step in every pass: probe the implementation and
// put the fresh context into the state every 3D test shares.
#pragma once

#include "scene3d/scene_state.h"

// Copies the GL strings (first window of the run only), reads the bit
// depths (the depth buffer's as depth_bits_3d) into the run's
// environment_info, clears to dark
// blue and shows it, draws the spin angles from the generator, and sets up
// the depth test, fog parameters, the stencil checkerboard, the modelview
// matrix, four lights (none enabled) and the mipmapped texture in the
// context's default texture. Leaves the orthographic projection of the
// checkerboard in place.
void setup_scene(SceneSession& session);

// The four lights' parameters. GL keeps their positions and spot
// directions in eye space as the modelview matrix loaded now places them:
// the set-up places them under the object as it stands then, and they stay
// put while the object turns.
void set_lights();

// The 3D projection (60 degrees, near 5, far 15) and the viewport; the
// modelview matrix is left as it is.
void set_perspective(int width, int height);
