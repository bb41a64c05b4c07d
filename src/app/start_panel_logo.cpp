#include "app/start_panel_logo.h"

#include <cstring>

#include "core/picture.h"

static_assert(PICTURE_SIZE == 2 * platform::PANEL_LOGO_SIZE);

void make_panel_logo(uint8_t logo[PANEL_LOGO_BYTES]) {
  constexpr int SIZE = platform::PANEL_LOGO_SIZE;
  for (int y = 0; y < SIZE; ++y) {
    const unsigned char* row = &source_image[std::size_t{4} * PICTURE_SIZE * 2 * (SIZE - 1 - y)];
    for (int x = 0; x < SIZE; ++x) {
      std::memcpy(&logo[(y * SIZE + x) * 3], &row[2 * x * 4], 3);
    }
  }
}
