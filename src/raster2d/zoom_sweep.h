// The pixel-zoom factors of the raster scaling test, computed before its drawing is timed.
#pragma once

struct ZoomFactor {
  float x;
  float y;
};

// The largest ramp length the program uses (the default iteration count); longer requests are
// cut to it so that the table needs no allocation.
constexpr int ZOOM_SWEEP_MAX_STEPS = 128;
constexpr int ZOOM_CYCLE_LENGTH = 28;
constexpr int ZOOM_SWEEP_CAPACITY =
    4 * ZOOM_SWEEP_MAX_STEPS + ZOOM_CYCLE_LENGTH * (ZOOM_SWEEP_MAX_STEPS / 2);

struct ZoomSweep {
  ZoomFactor draws[ZOOM_SWEEP_CAPACITY];
  int count = 0;
};

// Fills the sweep for ramps of n steps (clamped to 0..ZOOM_SWEEP_MAX_STEPS), one factor pair
// per draw, in drawing order, 4 * n + 28 * (n / 2) in all:
// - four ramps of n draws: tiny to full size, full size to nine times, wide, tall. A ramp's
//   steps are its constants divided by n (or 2 * n), rounded to float once; each factor starts
//   at the ramp's start and grows by its step after every draw, each sum rounded to float, so
//   the last draw of a ramp is the start plus n - 1 steps;
// - then n / 2 cycles of 28 equal powers of two, 1/128 up to 128 and back down to 1/64.
void build_zoom_sweep(ZoomSweep& sweep, int n);
