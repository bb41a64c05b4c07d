#include "core/catalogue.h"

#include <cstring>

namespace {
constexpr TestRunner R2 = TestRunner::raster_2d;
constexpr TestRunner FB = TestRunner::frame_buffer;
constexpr TestRunner PR = TestRunner::primitive;
constexpr TestRunner SH = TestRunner::shading;
constexpr TestRunner TX = TestRunner::texture;
}  // namespace

using namespace test_id;

// clang-format off
const TestInfo test_catalogue[TEST_COUNT] = {
  {put_copy_val_half,      "put_copy_val_half",      "Put of GL_COPY (ValueScale)",      "2D put GL_COPY half tone", 8.479857,  R2},
  {put_copy,               "put_copy",               "Put of GL_COPY",                   "2D put GL_COPY",           2.872912,  R2},
  {put_copy_inverted,      "put_copy_inverted",      "Put of GL_COPY_INVERTED",          "2D put GL_COPY_INVERTED",  2.885148,  R2},
  {put_and_reverse,        "put_and_reverse",        "Put of GL_AND_REVERSE",            "2D put GL_AND_REVERSE",    2.878339,  R2},
  {put_or_reverse,         "put_or_reverse",         "Put of GL_OR_REVERSE",             "2D put GL_OR_REVERSE",     2.873962,  R2},
  {put_and,                "put_and",                "Put of GL_AND",                    "2D put GL_AND",            2.873646,  R2},
  {put_or,                 "put_or",                 "Put of GL_OR",                     "2D put GL_OR",             2.874029,  R2},
  {put_nand,               "put_nand",               "Put of GL_NAND",                   "2D put GL_NAND",           2.87518,   R2},
  {put_nor,                "put_nor",                "Put of GL_NOR",                    "2D put GL_NOR",            2.873295,  R2},
  {put_xor,                "put_xor",                "Put of GL_XOR",                    "2D put GL_XOR",            2.872539,  R2},
  {put_equiv,              "put_equiv",              "Put of GL_EQUIV",                  "2D put GL_EQUIV",          2.873505,  R2},
  {put_and_inverted,       "put_and_inverted",       "Put of GL_AND_INVERTED",           "2D put GL_AND_INVERTED",   2.873503,  R2},
  {put_or_inverted,        "put_or_inverted",        "Put of GL_OR_INVERTED",            "2D put GL_OR_INVERTED",    2.8742,    R2},
  {copy_copy,              "copy_copy",              "Copy of GL_COPY",                  "2D copy GL_COPY",          2.091768,  R2},
  {copy_copy_inverted,     "copy_copy_inverted",     "Copy of GL_COPY_INVERTED",         "2D copy GL_COPY_INVERTED", 2.114419,  R2},
  {copy_and_reverse,       "copy_and_reverse",       "Copy of GL_AND_REVERSE",           "2D copy GL_AND_REVERSE",   2.112443,  R2},
  {copy_or_reverse,        "copy_or_reverse",        "Copy of GL_OR_REVERSE",            "2D copy GL_OR_REVERSE",    2.115349,  R2},
  {copy_and,               "copy_and",               "Copy of GL_AND",                   "2D copy GL_AND",           2.11387,   R2},
  {copy_or,                "copy_or",                "Copy of GL_OR",                    "2D copy GL_OR",            2.115216,  R2},
  {copy_nand,              "copy_nand",              "Copy of GL_NAND",                  "2D copy GL_NAND",          2.114441,  R2},
  {copy_nor,               "copy_nor",               "Copy of GL_NOR",                   "2D copy GL_NOR",           2.112796,  R2},
  {copy_xor,               "copy_xor",               "Copy of GL_XOR",                   "2D copy GL_XOR",           2.114544,  R2},
  {copy_equiv,             "copy_equiv",             "Copy of GL_EQUIV",                 "2D copy GL_EQUIV",         2.114121,  R2},
  {copy_and_inverted,      "copy_and_inverted",      "Copy of GL_AND_INVERTED",          "2D copy GL_AND_INVERTED",  2.115151,  R2},
  {copy_or_inverted,       "copy_or_inverted",       "Copy of GL_OR_INVERTED",           "2D copy GL_OR_INVERTED",   2.114398,  R2},
  {scaling,                "scaling",                "Raster Scaling",                   "2D scaling",               56.890642, R2},
  {swap_buffer,            "swap_buffer",            "Swap Buffer",                      "3D swap_buffer",           33.25115,  FB},
  {lines,                  "lines",                  "Lines",                            "3D lines",                 3.351926,  PR},
  {lines_fog,              "lines_fog",              "Lines and Fog",                    "3D lines fog",             3.334736,  PR},
  {lines_smooth,           "lines_smooth",           "Lines and Smooth",                 "3D lines smooth",          3.334662,  PR},
  {points,                 "points",                 "Points",                           "3D points",                33.269538, PR},
  {points_fog,             "points_fog",             "Points and Fog",                   "3D points fog",            33.258082, PR},
  {wire_frame,             "wire_frame",             "WireFrame",                        "3D wire",                  33.27017,  PR},
  {wire_frame_fog,         "wire_frame_fog",         "WireFrame and Fog",                "3D wire fog",              33.266161, PR},
  {polygon_color_smooth,   "polygon_color_smooth",   "PolygonSmooth",                    "3D polygon color smooth",  33.264594, PR},
  {polygon_color,          "polygon_color",          "PolygonColor",                     "3D polygon color",         33.2651,   PR},
  {polygon_color_fog,      "polygon_color_fog",      "PolygonColor and Fog",             "3D polygon color fog",     33.26237,  PR},
  {vertex_color,           "vertex_color",           "VertexColor",                      "3D vertex color",          33.298117, PR},
  {vertex_color_fog,       "vertex_color_fog",       "VertexColor and Fog",              "3D vertex color fog",      33.281404, PR},
  {stencil_buffer,         "stencil_buffer",         "Stencil Buffer",                   "3D stencil buffer",        33.294985, FB},
  {accumulation_buffer,    "accumulation_buffer",    "Accumlation Buffer",               "3D accumlation buffer",    2.134464,  FB},
  {blur,                   "blur",                   "Motion Blur",                      "3D blur",                  3.149549,  FB},
  {flat_shading,           "flat_shading",           "Flat Shading",                     "3D flat shading",          33.310351, SH},
  {smooth_shading,         "smooth_shading",         "Smooth Shading",                   "3D smooth shading",        33.362235, SH},
  {spot_light,             "spot_light",             "Spot Light",                       "3D spot light",            33.265984, SH},
  {texture_fast_GL_CLAMP,  "texture_fast_GL_CLAMP",  "GL_CLAMP Nearest TextureMapping",  "3D T-Map GL_CLAMP fast",   19.977644, TX},
  {texture_real_GL_CLAMP,  "texture_real_GL_CLAMP",  "GL_CLAMP Linear TextureMapping",   "3D T-Map GL_CLAMP real",   19.96144,  TX},
  {texture_fast_GL_REPEAT, "texture_fast_GL_REPEAT", "GL_REPEAT Nearest TextureMapping", "3D T-Map GL_REPEAT fast",  19.966219, TX},
  {texture_real_GL_REPEAT, "texture_real_GL_REPEAT", "GL_REPEAT Linear TextureMapping",  "3D T-Map GL_REPEAT real",  19.995837, TX},
};
// clang-format on

uint8_t skip_flags[TEST_COUNT];
uint8_t saved_skip_flags[TEST_COUNT];
double test_times[TEST_COUNT][TIME_SLOTS];
int64_t progress_count;
int64_t progress_total;

int find_test_by_keyword(const char* keyword) {
  for (const TestInfo& info : test_catalogue) {
    if (std::strcmp(info.keyword, keyword) == 0) return info.id;
  }
  return -1;
}
