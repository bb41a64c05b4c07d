// The timed frame loop almost every 3D test runs, and the protocol a timed
// test follows around it.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// Draws 2 x count frames of `list`, each followed by a swap: in the first
// half the object is turned on the host and the matrix loaded, in the
// second GL composes the spin onto it. Needs the 3D window's context, the
// 3D projection and the modelview matrix mode.
void draw_animated_frames(SceneRun& run, GLuint list, int32_t count);

// The same frames as a timed section, returning the seconds they took. The
// frames are bracketed by glFinish, so the time starts on an idle pipeline
// and ends when the last frame is done; nothing but the frames' own work is
// inside.
double run_animated(SceneRun& run, GLuint list, int32_t count);

// One frame of the second kind, without swap or timing.
void draw_rotated_frame(const SceneState& scene, GLuint list);

// The stored matrix as a test's first frame starts from it: GL's modelview
// matrix read back, unless the test starts from the matrix the test before
// it left (MatrixStart::stored).
void take_starting_matrix(SceneRun& run, const TestInfo& test);

// What `frames` frames of a test's kernel (frames per half for the animated
// ones) do to the object, done without drawing: the starting matrix taken,
// then the frames' host-side turns and loaded matrix, and the spins GL
// composes (one rotated frame for the swap test, the accumulation tests'
// rotated frames, else the two halves of draw_animated_frames). A
// validation run moves the object so for a test its check passed over, as
// every picture is compared with one drawn where every test ran; the
// reference poses follow from it.
void move_object(SceneRun& run, const TestInfo& test, int32_t frames);

// The kernel of the animated tests, on the display list of the test's stage
// (not called for a skipped test): its title, the matrix read-back and its
// draw state as its MatrixStart orders them, the timed frames, the stored
// time, the check of its picture, the draw state undone.
void run_animated_test(SceneRun& run, const TestInfo& test);

// The frames of an animated (or the stencil) test once more, untimed and
// with `frames` frames per half, as its check frame: the starting matrix
// taken, then draw_animated_frames on the stage's list. The draw state is
// left as the test has it.
void redraw_animated_test(SceneRun& run, const TestInfo& test, int32_t frames);
