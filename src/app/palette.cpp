#include "app/palette.h"

namespace {

constexpr uint8_t ONE_BIT_VALUES[2] = {0, 255};
constexpr uint8_t TWO_BIT_VALUES[4] = {0, 85, 170, 255};
constexpr uint8_t THREE_BIT_VALUES[8] = {0, 36, 73, 109, 146, 182, 219, 255};

struct ReservedColour {
  int index;
  PaletteEntry colour;
};

// Colours the desktop keeps for itself in an 8-bit palette.
constexpr ReservedColour RESERVED_COLOURS[] = {
    {3, {128, 0, 0}},       {24, {0, 128, 0}},      {27, {128, 128, 0}},    {64, {0, 0, 128}},
    {67, {128, 0, 128}},    {88, {0, 128, 128}},    {173, {192, 192, 192}}, {181, {192, 220, 192}},
    {236, {166, 202, 240}}, {247, {255, 251, 240}}, {164, {160, 160, 164}}, {91, {128, 128, 128}},
};

}  // namespace

uint8_t palette_component(uint32_t index, int bits, int shift) {
  const uint32_t value = index >> shift;
  switch (bits) {
    case 1:
      return ONE_BIT_VALUES[value & 0x1];
    case 2:
      return TWO_BIT_VALUES[value & 0x3];
    case 3:
      return THREE_BIT_VALUES[value & 0x7];
    default:
      return 0;
  }
}

void build_palette_332(PaletteEntry out[PALETTE_332_SIZE]) {
  for (uint32_t i = 0; i < PALETTE_332_SIZE; ++i) {
    out[i] = {palette_component(i, 3, 0), palette_component(i, 3, 3), palette_component(i, 2, 6)};
  }
  for (const ReservedColour& reserved : RESERVED_COLOURS) out[reserved.index] = reserved.colour;
}
