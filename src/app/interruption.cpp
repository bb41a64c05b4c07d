#include "app/interruption.h"

#include <signal.h>
#include <unistd.h>

#include <iterator>

namespace {

constexpr int WATCHED_SIGNALS[] = {SIGINT, SIGTERM};
struct sigaction previous_actions[std::size(WATCHED_SIGNALS)];
bool installed[std::size(WATCHED_SIGNALS)] = {};

volatile sig_atomic_t noted_signal = 0;

// All a handler may do safely: note the signal. SA_RESETHAND has put the
// default action back already, so a second one ends the process.
void note_signal(int signal_number) {
  if (noted_signal == 0) noted_signal = signal_number;
}

}  // namespace

InterruptionWatch::InterruptionWatch() {
  struct sigaction action {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  // Calls on their way (a write, a wait for the X server) go on as if no
  // signal had come; the run looks at the note where it may stop.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (size_t i = 0; i < std::size(WATCHED_SIGNALS); ++i) {
    sigaction(WATCHED_SIGNALS[i], nullptr, &previous_actions[i]);
    installed[i] = previous_actions[i].sa_handler != SIG_IGN;
    if (installed[i]) sigaction(WATCHED_SIGNALS[i], &action, nullptr);
  }
}

InterruptionWatch::~InterruptionWatch() {
  for (size_t i = 0; i < std::size(WATCHED_SIGNALS); ++i) {
    if (installed[i]) sigaction(WATCHED_SIGNALS[i], &previous_actions[i], nullptr);
    installed[i] = false;
  }
}

int interruption_signal() { return noted_signal; }

const char* interruption_name(int signal_number) {
  return signal_number == SIGINT ? "SIGINT" : signal_number == SIGTERM ? "SIGTERM" : "a signal";
}

int interruption_exit_status() { return 128 + noted_signal; }

void end_by_interruption() {
  const int signal_number = noted_signal;
  if (signal_number == 0) return;
  signal(signal_number, SIG_DFL);
  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, signal_number);
  sigprocmask(SIG_UNBLOCK, &mask, nullptr);
  raise(signal_number);
  _exit(interruption_exit_status());  // only where the signal could not end the process
}
