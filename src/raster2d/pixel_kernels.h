// The timed kernels of the 2D suite. They run in the 2D window's context under the projection,
// viewport, logic operation and pixel transfer the suite has set, and change only the raster
// position and, for the scaling test, the pixel zoom. Every draw is the built-in picture, 256 x
// 256 GL_RGBA bytes passed straight from static memory.
#pragma once

// Puts the picture with GL_COPY at the copy source (see copy_source_position) and leaves
// GL_COPY selected; the caller sets its own logic operation afterwards.
void put_copy_source();

// Both draw repeat_counts[0] (puts) or repeat_counts[1] (copies) positions from bench_rand into
// a fixed table first (at most 1000), then time only the loop of one glRasterPos2i and one
// glDrawPixels, or one 256 x 256 glCopyPixels from the copy source, per position, between a
// glFinish before the stopwatch starts and one before it is read. They return the elapsed
// seconds.
double time_random_puts();
double time_random_copies();

// The scaling test in two halves, so that the caller's stopwatch (and glFinish bracket) covers
// only the drawing:
// prepare_raster_scaling computes the zoom factors for ramps of repeat_counts[2] steps;
// time_raster_scaling then sets raster position (0, 0) once and issues one glPixelZoom and one
// glDrawPixels per factor. The zoom is left at the last factor.
void prepare_raster_scaling();
void time_raster_scaling();
