// The zoom factors of the raster scaling test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster2d/zoom_sweep.h"

namespace {

constexpr float TINY = 1.0f / 128.0f;

// Both factors of one draw, exactly.
void expect_factor(const ZoomSweep& sweep, int draw, float x, float y) {
  ASSERT_LT(draw, sweep.count);
  EXPECT_EQ(sweep.draws[draw].x, x) << "draw " << draw;
  EXPECT_EQ(sweep.draws[draw].y, y) << "draw " << draw;
}

// Up from 1/128 to 128 and back down to 1/64, as powers of two.
const std::vector<int> CYCLE_EXPONENTS = {-7, -6, -5, -4, -3, -2, -1, 0, 1,  2,  3,  4,  5,  6,
                                          7,  6,  5,  4,  3,  2,  1,  0, -1, -2, -3, -4, -5, -6};

void expect_cycles(const ZoomSweep& sweep, int first_draw, int cycles) {
  int draw = first_draw;
  for (int c = 0; c < cycles; ++c) {
    for (int exponent : CYCLE_EXPONENTS) {
      const float factor = std::ldexp(1.0f, exponent);
      expect_factor(sweep, draw++, factor, factor);
    }
  }
  EXPECT_EQ(draw, sweep.count);
}

class RasterZoomSweep : public ::testing::Test {
 protected:
  ZoomSweep sweep_;
};

TEST_F(RasterZoomSweep, DrawCountsFollowTheRampsAndCycles) {
  const int cases[][2] = {{128, 2304}, {32, 576}, {2, 36}, {3, 40}, {1, 4}, {0, 0}, {-5, 0}};
  for (const auto& [n, draws] : cases) {
    build_zoom_sweep(sweep_, n);
    EXPECT_EQ(sweep_.count, draws) << "n = " << n;
  }
}

// The test-loop sweep: each ramp draws at its start and one step later, then one cycle.
TEST_F(RasterZoomSweep, TwoStepRampsDrawTheirStartAndOneStep) {
  build_zoom_sweep(sweep_, 2);
  expect_factor(sweep_, 0, TINY, TINY);
  expect_factor(sweep_, 1, 0.50390625f, 0.50390625f);
  expect_factor(sweep_, 2, 1.0f, 1.0f);
  expect_factor(sweep_, 3, 5.0f, 5.0f);
  expect_factor(sweep_, 4, TINY, TINY);
  expect_factor(sweep_, 5, 1.00390625f, 0.380859375f);
  expect_factor(sweep_, 6, TINY, TINY);
  expect_factor(sweep_, 7, 0.505859375f, 0.75390625f);
  expect_cycles(sweep_, 8, 1);
}

// With the default 128 steps every step is a short binary fraction, so the ramp ends are
// exact: the first ramp stops just below full size, the second just below nine times.
TEST_F(RasterZoomSweep, DefaultRampsEndJustBelowTheirTargets) {
  build_zoom_sweep(sweep_, 128);
  expect_factor(sweep_, 0, TINY, TINY);
  expect_factor(sweep_, 127, 0.99224853515625f, 0.99224853515625f);
  expect_factor(sweep_, 128, 1.0f, 1.0f);
  expect_factor(sweep_, 255, 8.9375f, 8.9375f);
  expect_factor(sweep_, 256, TINY, TINY);
  expect_factor(sweep_, 383, 1.98443603515625f, 0.748077392578125f);
  expect_factor(sweep_, 384, TINY, TINY);
  expect_factor(sweep_, 511, 0.996124267578125f, 1.48834228515625f);
  expect_cycles(sweep_, 512, 64);
  // The zoom the test leaves behind.
  expect_factor(sweep_, 2303, 1.0f / 64, 1.0f / 64);
}

// 100 steps are not binary fractions: the values below come from rounding the step once and
// every sum to float. Summing in double, or multiplying the step by the draw number, ends
// elsewhere (0.990078125 or 0.99007809 for the first ramp).
TEST_F(RasterZoomSweep, UnevenStepsAreRoundedToFloatAtEveryAddition) {
  build_zoom_sweep(sweep_, 100);
  expect_factor(sweep_, 1, 0x1.228f5cp-6f, 0x1.228f5cp-6f);
  expect_factor(sweep_, 99, 0x1.faeb5ep-1f, 0x1.faeb5ep-1f);
  expect_factor(sweep_, 101, 0x1.147ae2p+0f, 0x1.147ae2p+0f);
  expect_factor(sweep_, 199, 0x1.1d7098p+3f, 0x1.1d7098p+3f);
  expect_factor(sweep_, 201, 0x1.c66666p-6f, 0x1.f47ae0p-7f);
  expect_factor(sweep_, 299, 0x1.fae682p+0f, 0x1.7e2e34p-1f);
  expect_factor(sweep_, 301, 0x1.233334p-6f, 0x1.747ae0p-6f);
  expect_factor(sweep_, 399, 0x1.fce682p-1f, 0x1.7c2e34p+0f);
}

// A single step has no cycle; longer ramps than the table holds are cut to the default.
TEST_F(RasterZoomSweep, ShortAndOversizedRequests) {
  build_zoom_sweep(sweep_, 1);
  ASSERT_EQ(sweep_.count, 4);
  expect_factor(sweep_, 1, 1.0f, 1.0f);
  expect_factor(sweep_, 3, TINY, TINY);

  build_zoom_sweep(sweep_, 1000);
  EXPECT_EQ(sweep_.count, ZOOM_SWEEP_CAPACITY);
  expect_factor(sweep_, 255, 8.9375f, 8.9375f);
}

}  // namespace
