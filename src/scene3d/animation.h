// The timed frame loop almost every 3D test runs, and the protocol a timed
// test follows around it.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// Draws 2 x count frames of `list` and returns the seconds they took: in
// the first half the object is turned on the host and the matrix loaded,
// in the second GL composes the spin onto it. The frames are bracketed by
// glFinish, so the time starts on an idle pipeline and ends when the last
// frame is done; nothing but the frames' own work is inside.
// Needs the 3D window's context, the 3D projection and the modelview
// matrix mode.
double run_animated(SceneRun& run, GLuint list, int32_t count);

// One frame of the second kind, without swap or timing.
void draw_rotated_frame(const SceneState& scene, GLuint list);

// What a test's frames would have done to the object's orientation, done
// without drawing, for a test its check passed over in a validation run:
// every picture is compared with one drawn where every test ran, so the
// tests after it must find the object where they always do. The matrix is
// read back, then the frames' turns and spins follow as the test's kernel
// makes them (one rotated frame for the swap test, the accumulation tests'
// rotated frames, else run_animated's two halves).
void turn_as_frames_would(SceneRun& run, const TestInfo& test);

// The kernel of the animated tests, on the display list of the test's stage
// (not called for a skipped test): its title, the matrix read-back and its
// draw state as its MatrixStart orders them, the timed frames, the stored
// time, the draw state undone.
void run_animated_test(SceneRun& run, const TestInfo& test);
