// The 49 tests: their constant data and the run state the suites share.
#pragma once

#include <cstdint>

constexpr int TEST_COUNT = 49;
constexpr int TIME_SLOTS = 50;
constexpr int FIRST_2D_TEST = 0;
constexpr int LAST_2D_TEST = 25;
constexpr int FIRST_3D_TEST = 26;
constexpr int LAST_3D_TEST = 48;

// Each test is named by its pass-definition keyword; the value is the index
// of skip_flags and test_times.
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

// Which family of the suites runs a test.
enum class TestRunner : int32_t {
  raster_2d,     // 2D suite driver
  frame_buffer,  // swap, stencil, accumulation, motion blur
  primitive,     // lines, points, wire frames, polygons
  shading,       // flat, smooth and spot lighting
  texture,       // texture mapping
};

struct TestInfo {
  TestId id;
  const char* keyword;  // pass-definition word, compared case-sensitively
  const char* title;    // shown in the progress title
  const char* label;    // opens the test's report line
  double reference;     // seconds that score 100
  TestRunner runner;
};

extern const TestInfo test_catalogue[TEST_COUNT];

// 0: the test runs; 1: it is passed over (and reported "skipped" if still
// set when the report is written).
extern uint8_t skip_flags[TEST_COUNT];
// The flags as the pass definition left them; restored before every pass.
extern uint8_t saved_skip_flags[TEST_COUNT];
// Seconds per test and pass slot.
extern double test_times[TEST_COUNT][TIME_SLOTS];
// 64 bits, so that no loop count a user can give overflows them.
extern int64_t progress_count;  // titles shown so far, over the whole run
extern int64_t progress_total;  // what the title counter counts up to

inline bool is_2d_test(int id) { return id >= FIRST_2D_TEST && id <= LAST_2D_TEST; }

// The TestId of a keyword (exact match), or -1 when no test has it.
int find_test_by_keyword(const char* keyword);
