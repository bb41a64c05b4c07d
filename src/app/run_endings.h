// The two ways a run ends once its passes are done, each giving the
// process's exit status (app/exit_status.h).
#pragma once

#include "app/benchmark_run.h"

// A timed run: the picture checks finished, the verdict (none in a
// status-only run), the report, the result files asked for, the run kept
// in the history, the viewer or the completion box, the summary lines of a
// batch run and on the desktop the results window. In batch mode
// BATCH_FAILED when the report or a result file could not be written. A run
// a signal interrupted keeps its passes completed as these files and the
// history, says so on stderr instead of opening the viewer or the results
// window, and gives the signal's status (app/interruption.h).
int end_timed_run(BenchmarkRun& run);

// A validation run writes no report: its verdicts, the result files if
// asked for, and a word of how it went. In batch mode BATCH_DONE only when
// every picture was checked and matched and every file was written.
int end_validation(BenchmarkRun& run);
