// The 2D window's suite: the raster tests, the catalogue's 2D rows in order.
#pragma once

#include "core/progress.h"

// Runs in the 2D window's first draw with its fresh GL context current. Sets the raster origin,
// records the window's colour depths in the run's environment_info, switches dithering off when
// every colour has at least 5 bits, enables logic operations (GL_LOGIC_OP and GL_COLOR_LOGIC_OP),
// sets the 2D projection and viewport and clears to dark blue. In status-only mode it stops there.
// Otherwise it captures the probes' reference block (with the automatic check on) and runs every
// 2D test that is not skipped: title, state, automatic check, then the timed kernel, whose
// seconds go to the results at the current pass slot. Tests whose check finds no effect are
// marked skipped for the rest of the pass. The colour scales are left at 1, the pixel zoom at
// the scaling test's last factor.
void run_2d_suite(SuiteContext& context);
