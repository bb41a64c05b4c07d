#include "raster2d/pixel_probes.h"

#include <GL/gl.h>

#include <algorithm>

#include "raster2d/picture.h"
#include "raster2d/raster_positions.h"
#include "shell/run_options.h"

namespace {

constexpr int BLOCK_SIDE = 8;
constexpr int BLOCK_VALUES = BLOCK_SIDE * BLOCK_SIDE * 3;

// Read as GL_UNSIGNED_INT so that no component depth of the visual rounds two different
// results to the same value.
GLuint reference_block[BLOCK_VALUES];
GLuint probe_block[BLOCK_VALUES];

void read_block(GLuint* block) {
  glReadPixels(0, 0, BLOCK_SIDE, BLOCK_SIDE, GL_RGB, GL_UNSIGNED_INT, block);
}

bool block_matches_reference() {
  read_block(probe_block);
  return std::equal(probe_block, probe_block + BLOCK_VALUES, reference_block);
}

}  // namespace

void capture_reference_block() {
  if (!run_options.auto_pass) return;
  glLogicOp(GL_COPY);
  glRasterPos2i(0, 0);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  read_block(reference_block);
}

bool probe_put_effect() {
  if (!run_options.auto_pass) return false;
  glRasterPos2i(0, 0);
  glDrawPixels(PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, source_image);
  return block_matches_reference();
}

bool probe_copy_effect() {
  if (!run_options.auto_pass) return false;
  const RasterPosition source = copy_source_position(raster_origin);
  glRasterPos2i(0, 0);
  glCopyPixels(source.x, source.y, BLOCK_SIDE, BLOCK_SIDE, GL_COLOR);
  return block_matches_reference();
}
