// Switching the X screen saver off for a run and putting it back on every
// way out: a normal end, an early return, exit(), SIGINT and SIGTERM.
#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/x_connection.h"

namespace platform {
namespace {

// A connection of its own, so that the signal handler never writes into a
// request buffer that the interrupted code may be filling.
Display* saver_display = nullptr;
volatile sig_atomic_t saved = 0;
int saved_timeout = 0;
int saved_interval = 0;
int saved_prefer_blanking = 0;
int saved_allow_exposures = 0;

void restore_on_signal(int signal_number) {
  screen_saver_restore();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void restore_at_exit() { screen_saver_restore(); }

}  // namespace

void screen_saver_off() {
  if (saved) return;
  saver_display = open_x_connection();
  if (saver_display == nullptr) return;
  XGetScreenSaver(saver_display, &saved_timeout, &saved_interval, &saved_prefer_blanking,
                  &saved_allow_exposures);
  saved = 1;

  static bool hooks_installed = false;
  if (!hooks_installed) {
    hooks_installed = true;
    std::atexit(restore_at_exit);
    struct sigaction action {};
    action.sa_handler = restore_on_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
  }

  // A timeout of 0 switches the saver off; the other settings stay.
  XSetScreenSaver(saver_display, 0, saved_interval, saved_prefer_blanking, saved_allow_exposures);
  XFlush(saver_display);
}

void screen_saver_restore() {
  if (!saved) return;
  saved = 0;
  XSetScreenSaver(saver_display, saved_timeout, saved_interval, saved_prefer_blanking,
                  saved_allow_exposures);
  XFlush(saver_display);
}

}  // namespace platform
