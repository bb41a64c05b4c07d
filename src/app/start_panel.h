// The start panel: the settings shown for the user to change before START.
#pragma once

#include <cstdint>

#include "core/run_options.h"

// What START fixes, given the panel's client rectangle at that moment:
// window_rect becomes that rectangle moved onto the screen, the repeat
// counts are scaled, and start_pressed is set.
void press_start(ScreenRect client, int32_t screen_width, int32_t screen_height);

// Shows the panel at PANEL_RECT with run_options as they are and returns
// when it has closed: start_pressed tells whether START closed it.
void show_start_panel();
