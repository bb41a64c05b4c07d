// The timed kernels of the 2D suite. They run in the 2D window's context under the projection,
// viewport, logic operation and pixel transfer the suite has set, and change only the raster
// position and, for the scaling test, the pixel zoom. Every draw is the built-in picture, 256 x
// 256 GL_RGBA bytes passed straight from static memory. Their position and zoom tables are
// KernelTables that the suite owns for its window's run, filled before each timed loop.
#pragma once

#include <cstdint>

#include "core/bench_rand.h"
#include "raster2d/raster_positions.h"
#include "raster2d/zoom_sweep.h"

// Where a kernel draws its positions, or computes its zoom factors, before its loop, so that
// the timed loop only reads them.
struct KernelTables {
  PositionTable positions;
  ZoomSweep sweep;
};

// Puts the picture with GL_COPY at the copy source (see copy_source_position) and leaves
// GL_COPY selected; the caller sets its own logic operation afterwards.
void put_copy_source(const RasterOrigin& origin);

// Both draw `count` positions from the generator into tables.positions first (at most 1000), then
// time (time_finished) only the loop of one glRasterPos2i and one glDrawPixels, or one
// 256 x 256 glCopyPixels from the copy source, per position. They return the elapsed seconds.
double time_random_puts(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                        BenchRand& rand);
double time_random_copies(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                          BenchRand& rand);

// The scaling test: computes the zoom factors for ramps of `steps` steps, then times only the
// drawing: raster position (0, 0) set once, one glPixelZoom and one glDrawPixels per factor.
// The zoom is left at the last factor.
double time_zoom_sweep(KernelTables& tables, int32_t steps);

// The same drawing untimed, for a check frame.
void draw_random_puts(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                      BenchRand& rand);
void draw_random_copies(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                        BenchRand& rand);
void draw_zoom_sweep(KernelTables& tables, int32_t steps);
