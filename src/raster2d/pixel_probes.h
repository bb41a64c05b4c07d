// The automatic check of the 2D suite: whether the logic operation or colour scale in force
// changes what a put or a copy leaves in the frame buffer. GL errors say nothing about an
// operation that is accepted and then ignored, so the check reads pixels back instead.
#pragma once

// With the automatic check on: puts the picture at raster position (0, 0) under GL_COPY
// (leaving GL_COPY selected) and keeps the lower-left 8 x 8 pixels as read back as the
// reference. Without it: does nothing. Call it once per run of the suite, before any probe,
// with unit pixel-transfer scales.
void capture_reference_block();

// Both probes return false at once, with no GL call, when the automatic check is off.
// Otherwise they draw under the current GL state, read back the lower-left 8 x 8 pixels and
// return true when those equal the reference: the state in force had no visible effect.

// Puts the picture at raster position (0, 0).
bool probe_put_effect();

// Copies the 8 x 8 block at the copy source (where put_copy_source has put the picture's
// lower-left corner) to raster position (0, 0).
bool probe_copy_effect();
