// Where the timed puts and copies land: raster positions drawn from bench_rand into a fixed
// table before any drawing starts, so that generating them costs nothing inside the measured
// loop and two runs from the same generator state draw at the same places.
#pragma once

#include "core/bench_rand.h"

// The 2D window's GL coordinates reach this many pixels to the left of and below the window,
// so that raster positions down to minus these values stay valid.
struct RasterOrigin {
  int x = 128;
  int y = 128;
};

struct RasterPosition {
  int x;
  int y;
};

// Where the copy tests take their block from, used both as the raster position of the put that
// lays the picture down and as the window position that glCopyPixels reads: (256, 192) less the
// origin, window pixel (128, 64) with the usual origin.
inline RasterPosition copy_source_position(const RasterOrigin& origin) {
  return RasterPosition{256 - origin.x, 192 - origin.y};
}

constexpr int POSITION_TABLE_CAPACITY = 1000;

struct PositionTable {
  RasterPosition entries[POSITION_TABLE_CAPACITY];
  int count = 0;
};

// Fills the first `count` entries (clamped to 0..POSITION_TABLE_CAPACITY) in order. Each entry
// draws its x before its y: x = (bench_rand() & 511) - origin.x, one value; for y, values
// (bench_rand() & 511) are drawn until one is below 384, and y = that value - origin.y. With the
// origin at (128, 128), x lies in -128..383 and y in -128..255.
void fill_random_positions(PositionTable& table, int count, const RasterOrigin& origin,
                           BenchRand& rand);
