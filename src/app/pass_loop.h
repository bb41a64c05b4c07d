// The passes of a run, from START to the end of the last one: the clock
// readings and start time the result files tell, the tests the pass
// definition selects, and the loop with its stopping rules: the -loop
// count, an endless -loop, one pass for a status-only or validation run,
// or under a precision target the rules of app/precision_policy.h.
#pragma once

#include <optional>

#include "app/benchmark_run.h"

// Nothing when the passes are done, with run_options.loops set to the
// passes a precision run made (its report and result files are those of a
// run of that many passes); the exit status (app/exit_status.h) when a test
// window or the validation's folder fails, with the screen saver resumed.
std::optional<int> run_passes(BenchmarkRun& run);
