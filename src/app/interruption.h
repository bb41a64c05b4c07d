// A ^C or a CI job's timeout during the passes: SIGINT or SIGTERM ends a
// run that keeps results early rather than at once. The handler only notes
// the signal; the run looks at the note between tests and between passes,
// never inside a timed section, drops the pass in progress, keeps the
// passes completed and then ends with the signal's own status.
#pragma once

// Watches SIGINT and SIGTERM for as long as it lives: from the first pass
// of a run to the end of its last. A signal the process ignores (a
// background job's SIGINT) stays ignored. Each signal is noted once; a
// second of the same kind ends the process at once, as it would have
// without the watch. Destroyed, it puts back the actions that were there,
// so a signal while the report is written ends the process as ever (the
// replacement file's temporary file removed).
class InterruptionWatch {
 public:
  InterruptionWatch();
  ~InterruptionWatch();
  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;
};

// The signal a watch noted (SIGINT or SIGTERM), or 0: the run was not
// interrupted.
int interruption_signal();

// "SIGINT" or "SIGTERM", as a user's shell names them.
const char* interruption_name(int signal_number);

// What the process ends with after the signal the watch noted, as a shell
// tells it: 128 and the signal's number.
int interruption_exit_status();

// Ends the process by the signal the watch noted, with its default action,
// so that the parent sees what a signal that was not caught would show
// (exit status 130 for SIGINT, 143 for SIGTERM in a shell); returns only
// where no signal was noted.
void end_by_interruption();
