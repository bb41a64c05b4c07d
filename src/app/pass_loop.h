// The passes of a run, from START to the end of the last one: the clock
// readings and start time the result files tell, the tests the pass
// definition selects, and the loop with its stopping rules: the -loop
// count, an endless -loop, one pass for a status-only or validation run,
// or under a precision target the rules of app/precision_policy.h; and in
// a run with scores a signal (app/interruption.h), which drops the pass in
// progress.
#pragma once

#include <optional>

#include "app/benchmark_run.h"

// Nothing when the passes are done, with run_options.loops set to the
// passes a precision or an interrupted run made (its report and result
// files are those of a run of that many passes) and record.interrupted
// set where a signal came; the exit status (app/exit_status.h) when a test
// window or the validation's folder fails, or the signal's
// (app/interruption.h) when it came before a pass was complete, with the
// screen saver resumed.
std::optional<int> run_passes(BenchmarkRun& run);
