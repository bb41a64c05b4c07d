// The program from start to end, in three steps of their own files: the
// set-up up to START (app/run_setup.h), the passes (app/pass_loop.h) and
// the ending (app/run_endings.h): the report and result files, or for a
// validation run the verdicts. Exit statuses: app/exit_status.h.
#pragma once

// Returns the process exit code. Without batch mode: 0 when the run is
// abandoned (help, a bad option, a test window that cannot be had), 1
// otherwise, also when the panel is closed without START, and 1 when there
// is no X display. In batch mode: 0 for a completed run and after -help,
// -list or -version, 2 for a usage error, 1 for any other failure (a report
// or result file written elsewhere, a picture that differs from its reference).
int run_benchmark(int argc, char** argv);
