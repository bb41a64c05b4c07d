// The start panel's logo: the built-in picture at half size, upright.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int PANEL_LOGO_BYTES = platform::PANEL_LOGO_SIZE * platform::PANEL_LOGO_SIZE * 3;

// Logo pixel (x, y), y growing downwards, is the picture's pixel at column
// 2x of row 2(127 - y) counted from the bottom: every second pixel of every
// second row. Three bytes a pixel (red, green, blue), top row first; the
// picture's alpha is dropped.
void make_panel_logo(uint8_t logo[PANEL_LOGO_BYTES]);
