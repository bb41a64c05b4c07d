#include "raster2d/pixel_kernels.h"

#include <GL/gl.h>

#include "core/picture.h"
#include "core/stopwatch.h"
#include "raster2d/raster_positions.h"
#include "raster2d/zoom_sweep.h"

void put_copy_source(const RasterOrigin& origin) {
  const RasterPosition source = copy_source_position(origin);
  glLogicOp(GL_COPY);
  glRasterPos2i(source.x, source.y);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
}

namespace {

void put_at_positions(const PositionTable& table) {
  for (const RasterPosition* position = table.entries; position != table.entries + table.count;
       ++position) {
    glRasterPos2i(position->x, position->y);
    glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  }
}

void copy_to_positions(const PositionTable& table, const RasterOrigin& origin) {
  const RasterPosition source = copy_source_position(origin);
  for (const RasterPosition* position = table.entries; position != table.entries + table.count;
       ++position) {
    glRasterPos2i(position->x, position->y);
    glCopyPixels(source.x, source.y, PICTURE_SIZE, PICTURE_SIZE, GL_COLOR);
  }
}

void draw_sweep(const ZoomSweep& sweep) {
  glRasterPos2i(0, 0);
  for (const ZoomFactor* factor = sweep.draws; factor != sweep.draws + sweep.count; ++factor) {
    glPixelZoom(factor->x, factor->y);
    glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  }
}

}  // namespace

double time_random_puts(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                        BenchRand& rand) {
  fill_random_positions(tables.positions, count, origin, rand);
  return time_finished([&tables] { put_at_positions(tables.positions); });
}

double time_random_copies(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                          BenchRand& rand) {
  fill_random_positions(tables.positions, count, origin, rand);
  return time_finished([&] { copy_to_positions(tables.positions, origin); });
}

double time_zoom_sweep(KernelTables& tables, int32_t steps) {
  build_zoom_sweep(tables.sweep, steps);
  return time_finished([&tables] { draw_sweep(tables.sweep); });
}

void draw_random_puts(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                      BenchRand& rand) {
  fill_random_positions(tables.positions, count, origin, rand);
  put_at_positions(tables.positions);
}

void draw_random_copies(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                        BenchRand& rand) {
  fill_random_positions(tables.positions, count, origin, rand);
  copy_to_positions(tables.positions, origin);
}

void draw_zoom_sweep(KernelTables& tables, int32_t steps) {
  build_zoom_sweep(tables.sweep, steps);
  draw_sweep(tables.sweep);
}
