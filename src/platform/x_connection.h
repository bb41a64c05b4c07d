// Opening a connection to the X server, inside the platform layer.
#pragma once

#include <X11/Xlib.h>

namespace platform {

// A new connection to the display named by DISPLAY, or null. A busy
// server now and then refuses a connection that a moment later it takes,
// so a refusal is tried again a few times within half a second; with
// DISPLAY unset there is nothing to wait for.
Display* open_x_connection();

}  // namespace platform
