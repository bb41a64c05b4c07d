// The automatic check of the 2D suite: whether the logic operation or colour scale in force
// changes what a put or a copy leaves in the frame buffer. GL errors say nothing about an
// operation that is accepted and then ignored, so the check reads pixels back instead.
#pragma once

#include <GL/gl.h>

#include "raster2d/raster_positions.h"

// The probed corner: the window's lower-left PROBE_BLOCK_SIDE x PROBE_BLOCK_SIDE pixels.
constexpr int PROBE_BLOCK_SIDE = 8;

// Before a probe draws, the corner is given a known destination: columns 0 to
// PROBE_ONES_FROM_COLUMN - 1 all zero bits, the columns from PROBE_ONES_FROM_COLUMN on all one
// bits. Every logic operation but GL_COPY then leaves a result different from a plain copy in
// one half or the other, wherever the picture's components are neither 0 nor full (as in the
// built-in photograph's corner); so the verdict depends on the operation alone, not on what
// earlier tests left in the corner.
constexpr int PROBE_ONES_FROM_COLUMN = 4;

// One run of the suite's check, holding the reference block it compares with.
class PixelProbe {
 public:
  // `enabled`: the automatic check is on; `origin`: the window's raster origin.
  PixelProbe(bool enabled, const RasterOrigin& origin) : enabled_(enabled), origin_(origin) {}

  // With the automatic check on: puts the picture at raster position (0, 0) under GL_COPY
  // (leaving GL_COPY selected) and keeps the lower-left 8 x 8 pixels as read back as the
  // reference. Without it: does nothing. Call it once, before any probe, with unit
  // pixel-transfer scales.
  void capture_reference_block();

  // Both probes return false at once, with no GL call, when the automatic check is off.
  // Otherwise they paint the known destination, draw under the current GL state, read back the
  // lower-left 8 x 8 pixels (always with unit colour scales, so that a scale applied to the read
  // can neither hide nor fake one applied to the draw) and return true when those equal the
  // reference: the state in force had no visible effect. Call them outside any timed section.

  // Puts the picture at raster position (0, 0).
  bool probe_put_effect();

  // Copies the 8 x 8 block at the copy source (where put_copy_source has put the picture's
  // lower-left corner) to raster position (0, 0).
  bool probe_copy_effect();

  // What the probes draw, without the read-back, whether or not the automatic check is on: a
  // check frame draws what the run of the reference pictures drew, probes included.
  void draw_put_probe() const;
  void draw_copy_probe() const;

 private:
  // Read as GL_UNSIGNED_INT so that no component depth of the visual rounds two different
  // results to the same value.
  static constexpr int BLOCK_VALUES = PROBE_BLOCK_SIDE * PROBE_BLOCK_SIDE * 3;
  using Block = GLuint[BLOCK_VALUES];

  bool block_matches_reference();

  bool enabled_;
  RasterOrigin origin_;
  Block reference_block_ = {};
  Block probe_block_ = {};
};
