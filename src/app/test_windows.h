// The two test windows: each runs its suite in its first draw.
#pragma once

// Opens the test window of run_state.run_mode at run_state.window_rect,
// runs its suite in the first draw and returns once it has closed itself.
// False, after an "Error" box, when the window or its GL context could not
// be had: the run cannot go on.
bool run_test_window();
