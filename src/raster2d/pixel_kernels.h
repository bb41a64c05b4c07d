// The timed kernels of the 2D suite. They run in the 2D window's context under the projection,
// viewport, logic operation and pixel transfer the suite has set, and change only the raster
// position and, for the scaling test, the pixel zoom. Every draw is the built-in picture, 256 x
// 256 GL_RGBA bytes passed straight from static memory. Their position and zoom tables are
// scratch space of this file, filled before each timed loop.
#pragma once

#include <cstdint>

#include "core/bench_rand.h"
#include "raster2d/raster_positions.h"

// Puts the picture with GL_COPY at the copy source (see copy_source_position) and leaves
// GL_COPY selected; the caller sets its own logic operation afterwards.
void put_copy_source(const RasterOrigin& origin);

// Both draw `count` positions from the generator into a fixed table first (at most 1000), then
// time (time_finished) only the loop of one glRasterPos2i and one glDrawPixels, or one
// 256 x 256 glCopyPixels from the copy source, per position. They return the elapsed seconds.
double time_random_puts(int32_t count, const RasterOrigin& origin, BenchRand& rand);
double time_random_copies(int32_t count, const RasterOrigin& origin, BenchRand& rand);

// The scaling test in two halves, so that the caller's time_finished covers only the drawing
// (which is all that "time" in the second's name promises):
// prepare_raster_scaling computes the zoom factors for ramps of `steps` steps;
// time_raster_scaling then sets raster position (0, 0) once and issues one glPixelZoom and one
// glDrawPixels per factor. The zoom is left at the last factor.
void prepare_raster_scaling(int32_t steps);
void time_raster_scaling();
