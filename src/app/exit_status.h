// The process's exit statuses, kept on purpose (docs/architecture.md): the
// desktop program ends a completed run with 1 and an abandoned one with 0;
// a batch run says 0 for done, 1 for a failure and 2 for a usage error.
#pragma once

constexpr int EXIT_ABANDONED = 0;
constexpr int EXIT_DONE = 1;
// Without an X display the desktop program cannot start at all.
constexpr int EXIT_NO_DISPLAY = 1;
constexpr int BATCH_DONE = 0;
constexpr int BATCH_FAILED = 1;
constexpr int BATCH_USAGE = 2;
