// The 2D window's suite: the 26 raster tests in catalogue order.
#pragma once

// Runs in the 2D window's first draw with its fresh GL context current. Sets the raster origin,
// records the window's colour depths in environment_info, switches dithering off when every
// colour has at least 5 bits, enables the logic operation with GL_LOGIC_OP (0x0BF1), sets the
// 2D projection and viewport and clears to dark blue. In status-only mode it stops there.
// Otherwise it captures the probes' reference block (with the automatic check on) and runs every
// 2D test whose skip flag is clear: title, state, automatic check, then the timed kernel, whose
// seconds go to test_times at the current pass slot. Tests whose check finds no effect are
// flagged skipped for the rest of the pass. The colour scales are left at 1, the pixel zoom at
// the scaling test's last factor.
void run_2d_suite();
