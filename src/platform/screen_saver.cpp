// Keeping the X screen saver from starting while the tests run. The screen-
// saver extension's suspend call changes none of the user's settings, and
// the server undoes it by itself when the program's connection ends, however
// the program ends (a crash or SIGKILL included), and it counts: runs that
// overlap suspend and resume independently.
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include "platform/platform.h"

namespace platform {
namespace {
bool suspended = false;
}  // namespace

void suspend_screen_saver() {
  if (suspended || !display_open()) return;
  int event_base = 0;
  int error_base = 0;
  if (!XScreenSaverQueryExtension(fl_display, &event_base, &error_base)) return;
  XScreenSaverSuspend(fl_display, True);
  XFlush(fl_display);
  suspended = true;
}

void resume_screen_saver() {
  if (!suspended) return;
  suspended = false;
  XScreenSaverSuspend(fl_display, False);
  XFlush(fl_display);
}

}  // namespace platform
