// The set-up of a run, from the command line to START: the options, where
// the tests draw, the 3D mesh, the pass definition file's warning and the
// panel (or in batch mode the settings taken as if START had been pressed).
#pragma once

#include <optional>

#include "app/benchmark_run.h"

// The run is ready for its passes when this gives nothing; otherwise it
// ended before START, with this exit status (app/exit_status.h): help, a
// bad option, no display or no off-screen context, the panel closed
// without START, or settings the panel left in conflict.
std::optional<int> settle_settings(BenchmarkRun& run, int argc, char** argv);
