// What the suites need of the test window they draw in: its size and the
// buffer swap. The window itself is opened by the application.
#pragma once

constexpr int TEST_WINDOW_WIDTH = 512;
constexpr int TEST_WINDOW_HEIGHT = 384;

// Shows the frame drawn into the 3D window's back buffer.
void swap_buffers();
