// The check of a 3D test's picture, right after its timed section. Its
// reference picture was drawn by a validation run: every test once, at the
// test-loop counts, from the object as every run's first pass finds it.
// Where a test begins in its reference's pose and spin, under lights placed
// as the reference's were (a lit test also with the diffuse reflectance its
// reference had) and at those counts, its timed frames leave the
// reference's picture and that is what is checked; elsewhere (other counts,
// a later pass, tests left out before it) a check frame is drawn at once in
// the reference's pose, spin, lights and diffuse reflectance, with the GL
// state and display lists the timed frames had, and the object and lights
// are put back, so that the tests after it draw what they would have drawn.
#pragma once

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// Finds where each 3D test of the reference run begins: the object as it
// stands now, in the run's first 3D window right after the set-up, moved
// test by test as each kernel moves it at the test-loop counts
// (move_object), by GL's own matrix arithmetic; then puts the object back.
// Does nothing unless the run checks its pictures, or once the poses are
// known.
void find_reference_poses(SceneSession& session);

// Before a test's kernel: notes whether it begins as its reference did.
void note_test_start(SceneSession& session, const TestInfo& test);

// Called by run_scene_test right after a kernel's timed section (and the
// swap that shows an accumulated picture), with its draw state still on: hands
// the test's picture to the run's check, the timed frames' own or a check
// frame's (see above). Does nothing unless the run checks its pictures.
void check_test_picture(SceneSession& session, const TestInfo& test);
