// The tests, each declared once: one row of test_catalogue holds what the
// suites run it with and what the report says of it. The suites walk the
// rows of their family in this order; the order is part of the benchmark,
// since GL state, the generator's sequence and the object's orientation carry
// from one test to the next.
//
// Adding a test: a TestId and a row below, at the end of its family; the
// counts and family ranges follow from the table. A new kind of drawing also
// needs a Kernel and its row in the kernel table of the suite that draws it.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>

// Passes, not tests: each test keeps the seconds of its last 50 passes
// (pass slots), whatever the loop count; nothing relates it to TEST_COUNT.
constexpr int TIME_SLOTS = 50;

// Each test is named by its pass-definition keyword; the value is its row
// in test_catalogue and its index in the results.
namespace test_id {
enum TestId : int32_t {
  put_copy_val_half,
  put_copy,
  put_copy_inverted,
  put_and_reverse,
  put_or_reverse,
  put_and,
  put_or,
  put_nand,
  put_nor,
  put_xor,
  put_equiv,
  put_and_inverted,
  put_or_inverted,
  copy_copy,
  copy_copy_inverted,
  copy_and_reverse,
  copy_or_reverse,
  copy_and,
  copy_or,
  copy_nand,
  copy_nor,
  copy_xor,
  copy_equiv,
  copy_and_inverted,
  copy_or_inverted,
  scaling,
  swap_buffer,
  lines,
  lines_fog,
  lines_smooth,
  points,
  points_fog,
  wire_frame,
  wire_frame_fog,
  polygon_color_smooth,
  polygon_color,
  polygon_color_fog,
  vertex_color,
  vertex_color_fog,
  stencil_buffer,
  accumulation_buffer,
  blur,
  flat_shading,
  smooth_shading,
  spot_light,
  texture_fast_GL_CLAMP,
  texture_real_GL_CLAMP,
  texture_fast_GL_REPEAT,
  texture_real_GL_REPEAT,
};
}  // namespace test_id
using test_id::TestId;

// The timed drawing of a test; each has one function in its suite.
enum class Kernel : int8_t {
  // 2D suite
  half_tone_put,  // puts under reduced colour scales
  put,            // puts at random positions
  copy,           // copies to random positions
  zoom,           // puts under a sweep of pixel zoom factors
  // 3D suite
  swap,          // bare buffer swaps
  animated,      // the turning object, drawn from its stage's display list
  stencil,       // the turning object through the stencil checkerboard
  accumulation,  // frames averaged in the accumulation buffer
  motion_blur,   // a fading trail through the accumulation buffer
};

// Named iteration counts: what a test's loop runs to (puts, copies, zoom
// ramp steps, swaps, or frames for each half of an animated test).
enum class RepeatCount : int8_t {
  puts,
  copies,
  zoom_steps,
  swaps,
  line_frames,
  facet_frames,
  vertex_shade_frames,
  accumulation_frames,
  lit_frames,
  nearest_texture_frames,
  linear_texture_frames,
};
constexpr int REPEAT_COUNT_ENTRIES = 11;
// Every count in test-loop mode and in a validation run, and so the counts
// the reference pictures were drawn at.
constexpr int32_t TEST_LOOP_COUNT = 2;
// In RepeatCount order; scaled once when START is pressed.
constexpr std::array<int32_t, REPEAT_COUNT_ENTRIES> DEFAULT_REPEAT_COUNTS = {
    1000, 1000, 128, 2000, 100, 500, 500, 64, 500, 300, 300};

// What a 2D test draws under.
enum class LogicOp : int8_t {
  copy,
  copy_inverted,
  and_reverse,
  or_reverse,
  and_,
  or_,
  nand,
  nor,
  xor_,
  equiv,
  and_inverted,
  or_inverted,
};

struct RasterSettings {
  LogicOp logic_op = LogicOp::copy;
  bool probed = false;  // whether the automatic check may pass the test over
};

// The 3D tests fall into runs of a stage's rows in catalogue order; a stage
// may come again after another. A stage's set-up (its display list, shade
// model, lighting...) runs before each run's first test and its tear-down
// after its last, whether or not the tests are skipped.
enum class Stage : int8_t {
  none,  // 2D tests
  swap,
  lines,
  facets,
  vertex_shade,
  stencil,
  accumulation,
  flat_lit,
  smooth_lit,
  textured,
};

// GL state a 3D test switches on around its timed frames.
enum class DrawState : int8_t {
  none,
  fog,
  smooth_lines,     // antialiased blended lines, width 0.8
  smooth_polygons,  // antialiased filled polygons, additive blend
  point_lights,     // lights 0 and 1
  spot_lights,      // lights 2 and 3
  nearest_clamp,    // texture filters and wrap modes; left set afterwards
  linear_clamp,
  nearest_repeat,
  linear_repeat,
};

// Set before the test whenever it differs from the mode the previous test of
// the stage asked for (also when the test itself is skipped).
enum class PolygonMode : int8_t { keep, points, lines, fill };

// Where an animated test's first frame starts from.
enum class MatrixStart : int8_t {
  stored,                // the matrix the last test left in the scene
  read_back,             // GL's modelview matrix, read back before the state goes on
  state_then_read_back,  // the same, read after the state is on (the lit tests)
};

struct SceneSettings {
  Stage stage = Stage::none;
  PolygonMode polygon_mode = PolygonMode::keep;
  DrawState state = DrawState::none;
  MatrixStart matrix = MatrixStart::read_back;
};

struct TestInfo {
  TestId id;
  const char* keyword;  // pass-definition word, compared case-sensitively
  const char* title;    // shown in the progress title
  const char* label;    // opens the test's report line
  double reference;     // seconds that score 100
  Kernel kernel;
  RepeatCount count;
  RasterSettings raster;  // 2D tests only
  SceneSettings scene;    // 3D tests only
};

namespace catalogue_rows {
using namespace test_id;
using K = Kernel;
using N = RepeatCount;
using L = LogicOp;
using S = Stage;
using PM = PolygonMode;
using D = DrawState;
using M = MatrixStart;
constexpr bool PROBED = true;
constexpr bool UNPROBED = false;

// The titles and labels are the texts reports are compared by, spelling
// ("Accumlation") included: kept on purpose (docs/architecture.md).
// clang-format off
inline constexpr TestInfo test_catalogue[] = {
  {put_copy_val_half,      "put_copy_val_half",      "Put of GL_COPY (ValueScale)",      "2D put GL_COPY half tone", 8.479857,  K::half_tone_put, N::puts,                    {L::copy, PROBED},         {}},
  {put_copy,               "put_copy",               "Put of GL_COPY",                   "2D put GL_COPY",           2.872912,  K::put,           N::puts,                    {L::copy, UNPROBED},       {}},
  {put_copy_inverted,      "put_copy_inverted",      "Put of GL_COPY_INVERTED",          "2D put GL_COPY_INVERTED",  2.885148,  K::put,           N::puts,                    {L::copy_inverted, PROBED}, {}},
  {put_and_reverse,        "put_and_reverse",        "Put of GL_AND_REVERSE",            "2D put GL_AND_REVERSE",    2.878339,  K::put,           N::puts,                    {L::and_reverse, PROBED},  {}},
  {put_or_reverse,         "put_or_reverse",         "Put of GL_OR_REVERSE",             "2D put GL_OR_REVERSE",     2.873962,  K::put,           N::puts,                    {L::or_reverse, PROBED},   {}},
  {put_and,                "put_and",                "Put of GL_AND",                    "2D put GL_AND",            2.873646,  K::put,           N::puts,                    {L::and_, PROBED},         {}},
  {put_or,                 "put_or",                 "Put of GL_OR",                     "2D put GL_OR",             2.874029,  K::put,           N::puts,                    {L::or_, PROBED},          {}},
  {put_nand,               "put_nand",               "Put of GL_NAND",                   "2D put GL_NAND",           2.87518,   K::put,           N::puts,                    {L::nand, PROBED},         {}},
  {put_nor,                "put_nor",                "Put of GL_NOR",                    "2D put GL_NOR",            2.873295,  K::put,           N::puts,                    {L::nor, PROBED},          {}},
  {put_xor,                "put_xor",                "Put of GL_XOR",                    "2D put GL_XOR",            2.872539,  K::put,           N::puts,                    {L::xor_, PROBED},         {}},
  {put_equiv,              "put_equiv",              "Put of GL_EQUIV",                  "2D put GL_EQUIV",          2.873505,  K::put,           N::puts,                    {L::equiv, PROBED},        {}},
  {put_and_inverted,       "put_and_inverted",       "Put of GL_AND_INVERTED",           "2D put GL_AND_INVERTED",   2.873503,  K::put,           N::puts,                    {L::and_inverted, PROBED}, {}},
  {put_or_inverted,        "put_or_inverted",        "Put of GL_OR_INVERTED",            "2D put GL_OR_INVERTED",    2.8742,    K::put,           N::puts,                    {L::or_inverted, PROBED},  {}},
  {copy_copy,              "copy_copy",              "Copy of GL_COPY",                  "2D copy GL_COPY",          2.091768,  K::copy,          N::copies,                  {L::copy, UNPROBED},       {}},
  {copy_copy_inverted,     "copy_copy_inverted",     "Copy of GL_COPY_INVERTED",         "2D copy GL_COPY_INVERTED", 2.114419,  K::copy,          N::copies,                  {L::copy_inverted, PROBED}, {}},
  {copy_and_reverse,       "copy_and_reverse",       "Copy of GL_AND_REVERSE",           "2D copy GL_AND_REVERSE",   2.112443,  K::copy,          N::copies,                  {L::and_reverse, PROBED},  {}},
  {copy_or_reverse,        "copy_or_reverse",        "Copy of GL_OR_REVERSE",            "2D copy GL_OR_REVERSE",    2.115349,  K::copy,          N::copies,                  {L::or_reverse, PROBED},   {}},
  {copy_and,               "copy_and",               "Copy of GL_AND",                   "2D copy GL_AND",           2.11387,   K::copy,          N::copies,                  {L::and_, PROBED},         {}},
  {copy_or,                "copy_or",                "Copy of GL_OR",                    "2D copy GL_OR",            2.115216,  K::copy,          N::copies,                  {L::or_, PROBED},          {}},
  {copy_nand,              "copy_nand",              "Copy of GL_NAND",                  "2D copy GL_NAND",          2.114441,  K::copy,          N::copies,                  {L::nand, PROBED},         {}},
  {copy_nor,               "copy_nor",               "Copy of GL_NOR",                   "2D copy GL_NOR",           2.112796,  K::copy,          N::copies,                  {L::nor, PROBED},          {}},
  {copy_xor,               "copy_xor",               "Copy of GL_XOR",                   "2D copy GL_XOR",           2.114544,  K::copy,          N::copies,                  {L::xor_, PROBED},         {}},
  {copy_equiv,             "copy_equiv",             "Copy of GL_EQUIV",                 "2D copy GL_EQUIV",         2.114121,  K::copy,          N::copies,                  {L::equiv, PROBED},        {}},
  {copy_and_inverted,      "copy_and_inverted",      "Copy of GL_AND_INVERTED",          "2D copy GL_AND_INVERTED",  2.115151,  K::copy,          N::copies,                  {L::and_inverted, PROBED}, {}},
  {copy_or_inverted,       "copy_or_inverted",       "Copy of GL_OR_INVERTED",           "2D copy GL_OR_INVERTED",   2.114398,  K::copy,          N::copies,                  {L::or_inverted, PROBED},  {}},
  {scaling,                "scaling",                "Raster Scaling",                   "2D scaling",               56.890642, K::zoom,          N::zoom_steps,              {L::copy, UNPROBED},       {}},
  {swap_buffer,            "swap_buffer",            "Swap Buffer",                      "3D swap_buffer",           33.25115,  K::swap,          N::swaps,                   {},                        {S::swap, PM::keep, D::none}},
  // "Lines" alone starts from the stored matrix instead of reading GL's back.
  {lines,                  "lines",                  "Lines",                            "3D lines",                 3.351926,  K::animated,      N::line_frames,             {},                        {S::lines, PM::keep, D::none, M::stored}},
  {lines_fog,              "lines_fog",              "Lines and Fog",                    "3D lines fog",             3.334736,  K::animated,      N::line_frames,             {},                        {S::lines, PM::keep, D::fog}},
  {lines_smooth,           "lines_smooth",           "Lines and Smooth",                 "3D lines smooth",          3.334662,  K::animated,      N::line_frames,             {},                        {S::lines, PM::keep, D::smooth_lines}},
  {points,                 "points",                 "Points",                           "3D points",                33.269538, K::animated,      N::facet_frames,            {},                        {S::facets, PM::points, D::none}},
  {points_fog,             "points_fog",             "Points and Fog",                   "3D points fog",            33.258082, K::animated,      N::facet_frames,            {},                        {S::facets, PM::points, D::fog}},
  {wire_frame,             "wire_frame",             "WireFrame",                        "3D wire",                  33.27017,  K::animated,      N::facet_frames,            {},                        {S::facets, PM::lines, D::none}},
  {wire_frame_fog,         "wire_frame_fog",         "WireFrame and Fog",                "3D wire fog",              33.266161, K::animated,      N::facet_frames,            {},                        {S::facets, PM::lines, D::fog}},
  // Switches to fill itself, and only when it runs.
  {polygon_color_smooth,   "polygon_color_smooth",   "PolygonSmooth",                    "3D polygon color smooth",  33.264594, K::animated,      N::facet_frames,            {},                        {S::facets, PM::lines, D::smooth_polygons}},
  {polygon_color,          "polygon_color",          "PolygonColor",                     "3D polygon color",         33.2651,   K::animated,      N::facet_frames,            {},                        {S::facets, PM::fill, D::none}},
  {polygon_color_fog,      "polygon_color_fog",      "PolygonColor and Fog",             "3D polygon color fog",     33.26237,  K::animated,      N::facet_frames,            {},                        {S::facets, PM::fill, D::fog}},
  {vertex_color,           "vertex_color",           "VertexColor",                      "3D vertex color",          33.298117, K::animated,      N::vertex_shade_frames,     {},                        {S::vertex_shade, PM::keep, D::none}},
  {vertex_color_fog,       "vertex_color_fog",       "VertexColor and Fog",              "3D vertex color fog",      33.281404, K::animated,      N::vertex_shade_frames,     {},                        {S::vertex_shade, PM::keep, D::fog}},
  {stencil_buffer,         "stencil_buffer",         "Stencil Buffer",                   "3D stencil buffer",        33.294985, K::stencil,       N::vertex_shade_frames,     {},                        {S::stencil, PM::keep, D::none}},
  {accumulation_buffer,    "accumulation_buffer",    "Accumlation Buffer",               "3D accumlation buffer",    2.134464,  K::accumulation,  N::accumulation_frames,     {},                        {S::accumulation, PM::keep, D::none}},
  {blur,                   "blur",                   "Motion Blur",                      "3D blur",                  3.149549,  K::motion_blur,   N::accumulation_frames,     {},                        {S::accumulation, PM::keep, D::none}},
  {flat_shading,           "flat_shading",           "Flat Shading",                     "3D flat shading",          33.310351, K::animated,      N::lit_frames,              {},                        {S::flat_lit, PM::keep, D::point_lights, M::state_then_read_back}},
  {smooth_shading,         "smooth_shading",         "Smooth Shading",                   "3D smooth shading",        33.362235, K::animated,      N::lit_frames,              {},                        {S::smooth_lit, PM::keep, D::point_lights, M::state_then_read_back}},
  {spot_light,             "spot_light",             "Spot Light",                       "3D spot light",            33.265984, K::animated,      N::lit_frames,              {},                        {S::smooth_lit, PM::keep, D::spot_lights, M::state_then_read_back}},
  {texture_fast_GL_CLAMP,  "texture_fast_GL_CLAMP",  "GL_CLAMP Nearest TextureMapping",  "3D T-Map GL_CLAMP fast",   19.977644, K::animated,      N::nearest_texture_frames,  {},                        {S::textured, PM::keep, D::nearest_clamp}},
  {texture_real_GL_CLAMP,  "texture_real_GL_CLAMP",  "GL_CLAMP Linear TextureMapping",   "3D T-Map GL_CLAMP real",   19.96144,  K::animated,      N::linear_texture_frames,   {},                        {S::textured, PM::keep, D::linear_clamp}},
  {texture_fast_GL_REPEAT, "texture_fast_GL_REPEAT", "GL_REPEAT Nearest TextureMapping", "3D T-Map GL_REPEAT fast",  19.966219, K::animated,      N::nearest_texture_frames,  {},                        {S::textured, PM::keep, D::nearest_repeat}},
  {texture_real_GL_REPEAT, "texture_real_GL_REPEAT", "GL_REPEAT Linear TextureMapping",  "3D T-Map GL_REPEAT real",  19.995837, K::animated,      N::linear_texture_frames,   {},                        {S::textured, PM::keep, D::linear_repeat}},
};
// clang-format on
}  // namespace catalogue_rows
using catalogue_rows::test_catalogue;

// The counts and ranges follow from the rows: the 2D rows come first, the 3D
// rows after them from swap_buffer (static checks in catalogue.cpp).
constexpr int TEST_COUNT = static_cast<int>(std::size(test_catalogue));
constexpr int FIRST_2D_TEST = 0;
constexpr int FIRST_3D_TEST = test_id::swap_buffer;
constexpr int LAST_2D_TEST = FIRST_3D_TEST - 1;
constexpr int LAST_3D_TEST = TEST_COUNT - 1;

inline bool is_2d_test(int id) { return id >= FIRST_2D_TEST && id <= LAST_2D_TEST; }

constexpr bool is_2d_kernel(Kernel kernel) { return kernel <= Kernel::zoom; }

// The TestId of a keyword (exact match), or -1 when no test has it.
int find_test_by_keyword(const char* keyword);
