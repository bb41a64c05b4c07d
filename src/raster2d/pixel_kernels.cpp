#include "raster2d/pixel_kernels.h"

#include <GL/gl.h>

#include "core/picture.h"
#include "core/stopwatch.h"
#include "raster2d/raster_positions.h"
#include "raster2d/zoom_sweep.h"

namespace {

PositionTable put_positions;
PositionTable copy_positions;
ZoomSweep zoom_sweep;

}  // namespace

void put_copy_source(const RasterOrigin& origin) {
  const RasterPosition source = copy_source_position(origin);
  glLogicOp(GL_COPY);
  glRasterPos2i(source.x, source.y);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
}

double time_random_puts(int32_t count, const RasterOrigin& origin, BenchRand& rand) {
  fill_random_positions(put_positions, count, origin, rand);
  const RasterPosition* position = put_positions.entries;
  const RasterPosition* const end = position + put_positions.count;
  return time_finished([&] {
    for (; position != end; ++position) {
      glRasterPos2i(position->x, position->y);
      glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
    }
  });
}

double time_random_copies(int32_t count, const RasterOrigin& origin, BenchRand& rand) {
  fill_random_positions(copy_positions, count, origin, rand);
  const RasterPosition source = copy_source_position(origin);
  const RasterPosition* position = copy_positions.entries;
  const RasterPosition* const end = position + copy_positions.count;
  return time_finished([&] {
    for (; position != end; ++position) {
      glRasterPos2i(position->x, position->y);
      glCopyPixels(source.x, source.y, PICTURE_SIZE, PICTURE_SIZE, GL_COLOR);
    }
  });
}

void prepare_raster_scaling(int32_t steps) { build_zoom_sweep(zoom_sweep, steps); }

void time_raster_scaling() {
  const ZoomFactor* factor = zoom_sweep.draws;
  const ZoomFactor* const end = factor + zoom_sweep.count;
  glRasterPos2i(0, 0);
  for (; factor != end; ++factor) {
    glPixelZoom(factor->x, factor->y);
    glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  }
}
