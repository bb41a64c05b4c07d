#include "judge/tolerances.h"

#include <cstdint>
#include <iterator>

namespace {

// What a test's picture is made of. A row's draw state, polygon mode, stage
// and kernel each may say it; the first of them that does decides
// (`as_before` says nothing).
enum class Drawn : int8_t {
  as_before,
  whole_pixels,   // puts and copies without zoom, logic operations
  scaled_pixels,  // puts under colour scales
  zoomed_pixels,  // puts under pixel zoom
  surfaces,       // filled faces
  lines,
  points,
  smooth_lines,  // antialiased lines
};

// GL fixes some results exactly and leaves others to the implementation,
// within limits:
// - A put or a copy without zoom moves whole pixels, and a logic operation
//   is exact bit arithmetic: every pixel must match; any difference is a
//   fault.
// - A colour-scaled put multiplies each component by 0.45 and converts back
//   to 8 bits; implementations may round either way: one step.
// - Zoomed puts cover the pixels whose centres a zoomed pixel's rectangle
//   holds; where an edge meets a centre, rounding decides: a few pixels.
// - 3D pictures are rasterised with some freedom at every edge and in the
//   interpolation of colours, depth, fog and texture coordinates. So an edge
//   may move by a pixel (shift 1) and a colour by a few steps (threshold
//   12 of 255), and for filled surfaces only a patch counts, a pixel that
//   differs together with its four neighbours (solid_only): what GL leaves
//   free is a pixel wide along edges, while a fault (fog left off, another
//   texture filter, a face missing) changes areas. Lines and points are a
//   pixel wide themselves, so for them a share of the pixels may differ
//   instead, more for antialiased lines, whose coverage GL leaves open.
// Mesa's llvmpipe (which drew the references) and softpipe both pass with
// these values, while each fault planted through TARVELIN_FAULT fails
// exactly the tests it changes.
// In Drawn order; as_before never decides.
constexpr Tolerance TOLERANCES[] = {
    {},                      // as_before
    {0, 0.0, 0},             // whole_pixels
    {1, 0.0, 0},             // scaled_pixels
    {2, 0.0005, 0},          // zoomed_pixels
    {12, 0.00001, 1, true},  // surfaces
    {12, 0.015, 1},          // lines
    {12, 0.001, 1},          // points
    {24, 0.06, 1},           // smooth_lines
};
static_assert(std::size(TOLERANCES) == static_cast<size_t>(Drawn::smooth_lines) + 1);

// In Kernel order. A 3D kernel draws what its stage's list holds.
constexpr Drawn KERNEL_DRAWS[] = {
    Drawn::scaled_pixels,  // half_tone_put
    Drawn::whole_pixels,   // put
    Drawn::whole_pixels,   // copy
    Drawn::zoomed_pixels,  // zoom
    Drawn::as_before,      // swap
    Drawn::as_before,      // animated
    Drawn::as_before,      // stencil
    Drawn::as_before,      // accumulation
    Drawn::as_before,      // motion_blur
};
static_assert(std::size(KERNEL_DRAWS) == static_cast<size_t>(Kernel::motion_blur) + 1);

// In Stage order: what the stage's display list draws.
constexpr Drawn STAGE_DRAWS[] = {
    Drawn::as_before,  // none
    Drawn::surfaces,   // swap
    Drawn::lines,      // lines
    Drawn::surfaces,   // facets
    Drawn::surfaces,   // vertex_shade
    Drawn::surfaces,   // stencil
    Drawn::surfaces,   // accumulation
    Drawn::surfaces,   // flat_lit
    Drawn::surfaces,   // smooth_lit
    Drawn::surfaces,   // textured
};
static_assert(std::size(STAGE_DRAWS) == static_cast<size_t>(Stage::textured) + 1);

// In PolygonMode order: what the faces are drawn as.
constexpr Drawn POLYGON_MODE_DRAWS[] = {
    Drawn::as_before,  // keep
    Drawn::points,     // points
    Drawn::lines,      // lines
    Drawn::surfaces,   // fill
};
static_assert(std::size(POLYGON_MODE_DRAWS) == static_cast<size_t>(PolygonMode::fill) + 1);

// In DrawState order. Smooth polygons switch to fill only as they run, so
// their row is judged by the polygon mode it names.
constexpr Drawn DRAW_STATE_DRAWS[] = {
    Drawn::as_before,     // none
    Drawn::as_before,     // fog
    Drawn::smooth_lines,  // smooth_lines
    Drawn::as_before,     // smooth_polygons
    Drawn::as_before,     // point_lights
    Drawn::as_before,     // spot_lights
    Drawn::as_before,     // nearest_clamp
    Drawn::as_before,     // linear_clamp
    Drawn::as_before,     // nearest_repeat
    Drawn::as_before,     // linear_repeat
};
static_assert(std::size(DRAW_STATE_DRAWS) == static_cast<size_t>(DrawState::linear_repeat) + 1);

constexpr Drawn drawn_by(const TestInfo& test) {
  const Drawn said[] = {DRAW_STATE_DRAWS[static_cast<int>(test.scene.state)],
                        POLYGON_MODE_DRAWS[static_cast<int>(test.scene.polygon_mode)],
                        STAGE_DRAWS[static_cast<int>(test.scene.stage)],
                        KERNEL_DRAWS[static_cast<int>(test.kernel)]};
  for (const Drawn drawn : said) {
    if (drawn != Drawn::as_before) return drawn;
  }
  return Drawn::as_before;
}

constexpr bool every_row_has_a_tolerance() {
  for (const TestInfo& test : test_catalogue) {
    if (drawn_by(test) == Drawn::as_before) return false;
  }
  return true;
}
static_assert(every_row_has_a_tolerance(), "each row's kernel or stage says what it draws");

}  // namespace

Tolerance tolerance_for(const TestInfo& test) {
  return TOLERANCES[static_cast<int>(drawn_by(test))];
}
