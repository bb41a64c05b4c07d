// The timed frame loop almost every 3D test runs, and the protocol a timed
// test follows around it.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"

// Draws 2 x count frames of `list` and returns the seconds they took: in
// the first half the object is turned on the host and the matrix loaded,
// in the second GL composes the spin onto it. The frames are bracketed by
// glFinish, so the time starts on an idle pipeline and ends when the last
// frame is done; nothing but the frames' own work is inside.
// Needs the 3D window's context, the 3D projection and the modelview
// matrix mode.
double run_animated(GLuint list, int32_t count);

// One frame of the second kind, without swap or timing.
void draw_rotated_frame(GLuint list);

// A test that times run_animated on one list.
struct AnimatedTest {
  TestId id;
  GLuint list;
  int count_entry;        // index into repeat_counts
  void (*enable)();       // extra state while timed; may be null
  void (*disable)();      // undoes it; may be null
  bool read_back_matrix;  // start from the GL modelview matrix
  // The lit tests switch their lights on before reading the matrix back.
  bool enable_before_read_back = false;
};

// Unless the test is skipped: its title, the matrix read-back and the extra
// state, the timed frames, the stored time, the extra state undone.
void run_animated_test(const AnimatedTest& test);
