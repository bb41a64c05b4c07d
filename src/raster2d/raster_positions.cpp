#include "raster2d/raster_positions.h"

#include "core/test_window.h"

namespace {

constexpr int POSITION_MASK = 511;
// Rows past the window's height are drawn again rather than folded, so every row stays
// equally likely.
constexpr int ROW_LIMIT = TEST_WINDOW_HEIGHT;

int draw_row(BenchRand& rand) {
  int value = rand.bench_rand() & POSITION_MASK;
  while (value >= ROW_LIMIT) value = rand.bench_rand() & POSITION_MASK;
  return value;
}

}  // namespace

void fill_random_positions(PositionTable& table, int count, const RasterOrigin& origin,
                           BenchRand& rand) {
  if (count < 0) count = 0;
  if (count > POSITION_TABLE_CAPACITY) count = POSITION_TABLE_CAPACITY;
  for (int i = 0; i < count; ++i) {
    const int x = (rand.bench_rand() & POSITION_MASK) - origin.x;
    const int y = draw_row(rand) - origin.y;
    table.entries[i] = RasterPosition{x, y};
  }
  table.count = count;
}
