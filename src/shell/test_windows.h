// The two test windows and the GL services the 3D tests share.
#pragma once

#include <cstdint>

constexpr int TEST_WINDOW_WIDTH = 512;
constexpr int TEST_WINDOW_HEIGHT = 384;

// Opens the test window of run_state.run_mode at run_state.window_rect,
// runs its suite in the first draw and returns once it has closed itself.
// False, after an "Error" box, when the window or its GL context could not
// be had: the run cannot go on.
bool run_test_window();

// The 3D projection (60 degrees, near 5, far 15) and the viewport; the
// modelview matrix is left as it is.
void set_perspective(int width, int height);

// Shows the frame drawn into the 3D window's back buffer.
void swap_buffers();
