// Colour tables for an indexed-colour visual. The test windows always ask
// for true colour, so these only come into play on a server that grants an
// 8-bit palette.
#pragma once

#include <cstdint>

struct PaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

constexpr int PALETTE_332_SIZE = 256;

// The 8-bit value of the component that `bits` bits at `shift` of index
// select; 0 for bit counts other than 1, 2 and 3.
uint8_t palette_component(uint32_t index, int bits, int shift);

// A 3-3-2 palette (red at shift 0, green at 3, blue at 6) with the desktop's
// reserved colours at their usual places.
void build_palette_332(PaletteEntry out[PALETTE_332_SIZE]);
