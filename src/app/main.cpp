#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/interruption.h"
#include "app/run_sequence.h"

namespace {

// What the program printed must have arrived: a full or closed standard
// output (the list, the version, a batch run's lines) fails the run.
int flushed_status(int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  // The error of an earlier write is gone with its errno; a flush of one
  // more byte finds out why the output fails now.
  if (errno == 0) {
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  std::fprintf(stderr, "tarvelin: the standard output could not be written (%s)\n",
               std::strerror(errno != 0 ? errno : EIO));
  return status == 0 ? 1 : status;
}

}  // namespace

// A run a signal interrupted ends by that signal once it has written what
// it keeps and its output has arrived.
int main(int argc, char** argv) {
  const int status = flushed_status(run_benchmark(argc, argv));
  end_by_interruption();
  return status;
}
