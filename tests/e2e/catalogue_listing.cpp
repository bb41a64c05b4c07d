// What the end-to-end scripts know of the tests, from the catalogue itself:
// one line a test in catalogue order,
//   keyword|group|title|kernel|count|logic_op|probed|stage|polygon_mode|state
// with the enumerators' own names (logic_op as GL names it, "-" for a 3D
// test; stage, polygon_mode and state "-" for a 2D test). The scripts pick
// tests by what they draw, never by their keywords or places.
#include <cstdio>
#include <iterator>

#include "core/catalogue.h"

namespace {

constexpr const char* KERNEL_NAMES[] = {"half_tone_put", "put",          "copy",
                                        "zoom",          "swap",         "animated",
                                        "stencil",       "accumulation", "motion_blur"};
constexpr const char* COUNT_NAMES[] = {"puts",
                                       "copies",
                                       "zoom_steps",
                                       "swaps",
                                       "line_frames",
                                       "facet_frames",
                                       "vertex_shade_frames",
                                       "accumulation_frames",
                                       "lit_frames",
                                       "nearest_texture_frames",
                                       "linear_texture_frames"};
constexpr const char* LOGIC_OP_NAMES[] = {
    "COPY", "COPY_INVERTED", "AND_REVERSE", "OR_REVERSE", "AND",          "OR",
    "NAND", "NOR",           "XOR",         "EQUIV",      "AND_INVERTED", "OR_INVERTED"};
constexpr const char* STAGE_NAMES[] = {
    "-",       "swap",         "lines",    "facets",     "vertex_shade",
    "stencil", "accumulation", "flat_lit", "smooth_lit", "textured"};
constexpr const char* POLYGON_MODE_NAMES[] = {"keep", "points", "lines", "fill"};
constexpr const char* STATE_NAMES[] = {
    "none",        "fog",           "smooth_lines", "smooth_polygons", "point_lights",
    "spot_lights", "nearest_clamp", "linear_clamp", "nearest_repeat",  "linear_repeat"};
// A name for every enumerator, so that a new one is named here too.
static_assert(std::size(KERNEL_NAMES) == static_cast<size_t>(Kernel::motion_blur) + 1);
static_assert(std::size(COUNT_NAMES) == REPEAT_COUNT_ENTRIES);
static_assert(std::size(LOGIC_OP_NAMES) == static_cast<size_t>(LogicOp::or_inverted) + 1);
static_assert(std::size(STAGE_NAMES) == static_cast<size_t>(Stage::textured) + 1);
static_assert(std::size(POLYGON_MODE_NAMES) == static_cast<size_t>(PolygonMode::fill) + 1);
static_assert(std::size(STATE_NAMES) == static_cast<size_t>(DrawState::linear_repeat) + 1);

template <typename Enum, size_t N>
const char* name_of(const char* const (&names)[N], Enum value) {
  const auto index = static_cast<size_t>(value);
  return index < N ? names[index] : "?";
}

}  // namespace

int main() {
  for (const TestInfo& test : test_catalogue) {
    const bool in_2d = is_2d_test(test.id);
    std::printf("%s|%s|%s|%s|%s|%s|%s|%s|%s|%s\n", test.keyword, in_2d ? "2D" : "3D", test.title,
                name_of(KERNEL_NAMES, test.kernel), name_of(COUNT_NAMES, test.count),
                in_2d ? name_of(LOGIC_OP_NAMES, test.raster.logic_op) : "-",
                in_2d ? (test.raster.probed ? "probed" : "unprobed") : "-",
                name_of(STAGE_NAMES, test.scene.stage),
                in_2d ? "-" : name_of(POLYGON_MODE_NAMES, test.scene.polygon_mode),
                in_2d ? "-" : name_of(STATE_NAMES, test.scene.state));
  }
  return 0;
}
