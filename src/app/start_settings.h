// What pressing START fixes before the first pass.
#pragma once

#include "core/run_options.h"

// The panel's client area at start: 512 x 384 at screen position 50, 50.
constexpr ScreenRect PANEL_RECT = {50, 50, 562, 434};

// When the panel opens, test-loop mode rules out status-only and quarter
// mode. No other combination from the command line is reconciled.
void reconcile_panel_flags();

// Moves a rectangle, keeping its size, so that it starts at 0 or more and
// ends (exclusive) no further than the screen's last pixel.
ScreenRect clamp_to_screen(ScreenRect rect, int32_t screen_width, int32_t screen_height);

// Scales repeat_counts once: a quarter in quarter mode, then 2 each in
// test-loop mode.
void apply_start_settings();
