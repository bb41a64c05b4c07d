// Where the timed puts and copies land: the positions drawn from the shared generator.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/bench_rand.h"
#include "raster2d/raster_positions.h"

namespace {

// Every test draws from a generator as fresh as a run's.
class RasterPositions : public ::testing::Test {
 protected:
  // What the 3D window's set-up takes from the sequence before the 2D suite of a pass starts.
  void draw_like_the_3d_set_up() {
    rand_.bench_rand();
    rand_.bench_rand();
  }

  BenchRand rand_;
  PositionTable table_;
};

// In the first pass the 3D set-up has taken the first two values (41, 18467). The third
// (6334) gives x = 190 - 128; the fourth (26500, low bits 388) is too tall and is drawn again;
// the fifth (19169, low bits 225) gives y = 97.
TEST_F(RasterPositions, FirstPositionOfARunDrawsXThenRejectsATallRowThenY) {
  draw_like_the_3d_set_up();
  fill_random_positions(table_, 1, RasterOrigin{}, rand_);

  ASSERT_EQ(table_.count, 1);
  EXPECT_EQ(table_.entries[0].x, 62);
  EXPECT_EQ(table_.entries[0].y, 97);
  // Exactly five values were used, so the next kernel goes on from the sixth.
  BenchRand five;
  for (int i = 0; i < 5; ++i) five.bench_rand();
  rand_ = BenchRand{};
  draw_like_the_3d_set_up();
  fill_random_positions(table_, 1, RasterOrigin{}, rand_);
  EXPECT_EQ(rand_.bench_rand_state, five.bench_rand_state);
}

// A full table stays inside the 2D window's viewport, whose GL coordinates reach 128 beyond
// the left and bottom edges, and every start row leaves the picture's lower edge on the
// 384-pixel window.
TEST_F(RasterPositions, FullTableStaysInsideTheViewport) {
  draw_like_the_3d_set_up();
  fill_random_positions(table_, POSITION_TABLE_CAPACITY, RasterOrigin{}, rand_);

  ASSERT_EQ(table_.count, POSITION_TABLE_CAPACITY);
  int highest_y = -1000;
  for (int i = 0; i < table_.count; ++i) {
    const RasterPosition p = table_.entries[i];
    ASSERT_GE(p.x, -128) << i;
    ASSERT_LE(p.x, 383) << i;
    ASSERT_GE(p.y, -128) << i;
    ASSERT_LE(p.y, 255) << i;
    highest_y = p.y > highest_y ? p.y : highest_y;
  }
  // Rows above 255 are drawn again rather than wrapped or clamped, so the top rows still occur.
  EXPECT_GT(highest_y, 240);
}

TEST_F(RasterPositions, OriginShiftsBothCoordinates) {
  draw_like_the_3d_set_up();
  fill_random_positions(table_, 1, RasterOrigin{100, 40}, rand_);
  EXPECT_EQ(table_.entries[0].x, 190 - 100);
  EXPECT_EQ(table_.entries[0].y, 225 - 40);
}

// The tables are fixed arrays: a larger count is cut to their capacity, and a count of zero
// or less fills nothing and leaves the generator where it was.
TEST_F(RasterPositions, CountsAreCutToTheTableAndEmptyCountsDrawNothing) {
  fill_random_positions(table_, POSITION_TABLE_CAPACITY + 500, RasterOrigin{}, rand_);
  EXPECT_EQ(table_.count, POSITION_TABLE_CAPACITY);

  const uint32_t before = rand_.bench_rand_state;
  fill_random_positions(table_, 0, RasterOrigin{}, rand_);
  EXPECT_EQ(table_.count, 0);
  fill_random_positions(table_, -3, RasterOrigin{}, rand_);
  EXPECT_EQ(table_.count, 0);
  EXPECT_EQ(rand_.bench_rand_state, before);
}

TEST(RasterOriginTest, CopySourceIsWindowPixel128By64) {
  const RasterOrigin origin;
  EXPECT_EQ(origin.x, 128);
  EXPECT_EQ(origin.y, 128);
  const RasterPosition source = copy_source_position(origin);
  EXPECT_EQ(source.x, 128);
  EXPECT_EQ(source.y, 64);
}

}  // namespace
