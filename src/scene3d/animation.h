// The frame loop almost every 3D test runs (the frames of the animated and
// stencil kernels), where a test's first frame starts from, and how a
// kernel's frames move the object.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// Draws 2 x count frames of `list`, each followed by a swap: in the first
// half the object is turned on the host and the matrix loaded, in the
// second GL composes the spin onto it. Needs the 3D window's context, the
// 3D projection and the modelview matrix mode.
void draw_animated_frames(SceneSession& session, GLuint list, int32_t count);

// The same frames as a timed section, returning the seconds they took. The
// frames are bracketed by glFinish, so the time starts on an idle pipeline
// and ends when the last frame is done; nothing but the frames' own work is
// inside.
double run_animated(SceneSession& session, GLuint list, int32_t count);

// One frame of the second kind, without swap or timing.
void draw_rotated_frame(const SceneState& scene, GLuint list);

// The stored matrix as a test's first frame starts from it: GL's modelview
// matrix read back, unless the test starts from the matrix the test before
// it left (MatrixStart::stored). The animated and stencil kernels begin
// with it.
void take_starting_matrix(SceneSession& session, const TestInfo& test);

// What `frames` frames of a test's kernel (frames per half for the animated
// ones) do to the object, done without drawing: the starting matrix taken,
// then the frames' host-side turns and loaded matrix, and the spins GL
// composes (one rotated frame for the swap test, the accumulation tests'
// rotated frames, else the two halves of draw_animated_frames). A
// validation run moves the object so for a test its check passed over, as
// every picture is compared with one drawn where every test ran; the
// reference poses follow from it.
void move_object(SceneSession& session, const TestInfo& test, int32_t frames);
