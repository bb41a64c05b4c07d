#include "raster2d/pixel_probes.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/picture.h"

namespace {

// The pixel-transfer scales apply to reads as well as draws; the read is always taken at unit
// scales, and the caller's scales are put back afterwards.
void read_block(GLuint* block) {
  glPushAttrib(GL_PIXEL_MODE_BIT);
  glPixelTransferf(GL_RED_SCALE, 1.0f);
  glPixelTransferf(GL_GREEN_SCALE, 1.0f);
  glPixelTransferf(GL_BLUE_SCALE, 1.0f);
  glReadPixels(0, 0, PROBE_BLOCK_SIDE, PROBE_BLOCK_SIDE, GL_RGB, GL_UNSIGNED_INT, block);
  glPopAttrib();
}

void clear_corner_columns(int first, int count, GLfloat value) {
  glScissor(first, 0, count, PROBE_BLOCK_SIDE);
  glClearColor(value, value, value, value);
  glClear(GL_COLOR_BUFFER_BIT);
}

// A clear ignores the logic operation and the pixel transfer in force, so the destination is
// the same whatever the test has set; the clear colour and scissor state are put back.
void paint_known_destination() {
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
  glEnable(GL_SCISSOR_TEST);
  clear_corner_columns(0, PROBE_ONES_FROM_COLUMN, 0.0f);
  clear_corner_columns(PROBE_ONES_FROM_COLUMN, PROBE_BLOCK_SIDE - PROBE_ONES_FROM_COLUMN, 1.0f);
  glPopAttrib();
}

}  // namespace

bool PixelProbe::block_matches_reference() {
  read_block(probe_block_);
  return std::equal(probe_block_, probe_block_ + BLOCK_VALUES, reference_block_);
}

void PixelProbe::capture_reference_block() {
  if (!enabled_) return;
  glLogicOp(GL_COPY);
  glRasterPos2i(0, 0);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  read_block(reference_block_);
}

void PixelProbe::draw_put_probe() const {
  paint_known_destination();
  glRasterPos2i(0, 0);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
}

void PixelProbe::draw_copy_probe() const {
  const RasterPosition source = copy_source_position(origin_);
  paint_known_destination();
  glRasterPos2i(0, 0);
  glCopyPixels(source.x, source.y, PROBE_BLOCK_SIDE, PROBE_BLOCK_SIDE, GL_COLOR);
}

bool PixelProbe::probe_put_effect() {
  if (!enabled_) return false;
  draw_put_probe();
  return block_matches_reference();
}

bool PixelProbe::probe_copy_effect() {
  if (!enabled_) return false;
  draw_copy_probe();
  return block_matches_reference();
}
