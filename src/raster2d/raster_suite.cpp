#include "raster2d/raster_suite.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/progress_title.h"
#include "core/run_options.h"
#include "core/stopwatch.h"
#include "core/test_window.h"
#include "raster2d/pixel_kernels.h"
#include "raster2d/pixel_probes.h"
#include "raster2d/raster_positions.h"

namespace {

enum class RasterKind {
  half_tone_put,  // a put under reduced colour scales
  put,
  copy,
  zoom,  // puts under a sweep of pixel zoom factors
};

struct RasterTest {
  TestId id;
  RasterKind kind;
  GLenum logic_op;
  bool probed;  // whether the automatic check may pass the test over
};

using enum RasterKind;
using namespace test_id;

// Catalogue order; the order is part of the benchmark, since each test draws over what the
// one before it left and the positions continue one generator sequence.
constexpr RasterTest RASTER_TESTS[] = {
    {put_copy_val_half, half_tone_put, GL_COPY, true},
    {put_copy, put, GL_COPY, false},
    {put_copy_inverted, put, GL_COPY_INVERTED, true},
    {put_and_reverse, put, GL_AND_REVERSE, true},
    {put_or_reverse, put, GL_OR_REVERSE, true},
    {put_and, put, GL_AND, true},
    {put_or, put, GL_OR, true},
    {put_nand, put, GL_NAND, true},
    {put_nor, put, GL_NOR, true},
    {put_xor, put, GL_XOR, true},
    {put_equiv, put, GL_EQUIV, true},
    {put_and_inverted, put, GL_AND_INVERTED, true},
    {put_or_inverted, put, GL_OR_INVERTED, true},
    {copy_copy, copy, GL_COPY, false},
    {copy_copy_inverted, copy, GL_COPY_INVERTED, true},
    {copy_and_reverse, copy, GL_AND_REVERSE, true},
    {copy_or_reverse, copy, GL_OR_REVERSE, true},
    {copy_and, copy, GL_AND, true},
    {copy_or, copy, GL_OR, true},
    {copy_nand, copy, GL_NAND, true},
    {copy_nor, copy, GL_NOR, true},
    {copy_xor, copy, GL_XOR, true},
    {copy_equiv, copy, GL_EQUIV, true},
    {copy_and_inverted, copy, GL_AND_INVERTED, true},
    {copy_or_inverted, copy, GL_OR_INVERTED, true},
    {scaling, zoom, GL_COPY, false},
};
static_assert(sizeof RASTER_TESTS / sizeof RASTER_TESTS[0] == LAST_2D_TEST - FIRST_2D_TEST + 1);

// Since OpenGL 1.1 the old enable GL_LOGIC_OP (0x0BF1) applies logic operations to colour-index
// pixels only, and GL_COLOR_LOGIC_OP (0x0BF2) to RGBA pixels, which our windows always have.
// Both are enabled, so that an implementation of either generation applies the operation.
static_assert(GL_LOGIC_OP == 0x0BF1 && GL_COLOR_LOGIC_OP == 0x0BF2);

// A test hook: TARVELIN_LOGIC_OPS=off leaves logic operations disabled, so that the automatic
// check can be seen to find an operation that has no effect.
bool logic_ops_held_off() {
  const char* hook = std::getenv("TARVELIN_LOGIC_OPS");
  return hook != nullptr && std::strcmp(hook, "off") == 0;
}

void enable_logic_ops() {
  if (logic_ops_held_off()) return;
  glEnable(GL_LOGIC_OP);
  glEnable(GL_COLOR_LOGIC_OP);
}

// Fewer bits than this in any colour and dithering stays on, as the visual needs it.
constexpr int32_t DITHER_OFF_MIN_BITS = 5;
constexpr GLfloat HALF_TONE_SCALE = 0.45f;

void record_colour_depths() {
  GLint red = 0;
  GLint green = 0;
  GLint blue = 0;
  glGetIntegerv(GL_RED_BITS, &red);
  glGetIntegerv(GL_GREEN_BITS, &green);
  glGetIntegerv(GL_BLUE_BITS, &blue);
  environment_info.red_bits_2d = red;
  environment_info.green_bits_2d = green;
  environment_info.blue_bits_2d = blue;
}

void choose_dithering() {
  const EnvironmentInfo& e = environment_info;
  if (e.red_bits_2d >= DITHER_OFF_MIN_BITS && e.green_bits_2d >= DITHER_OFF_MIN_BITS &&
      e.blue_bits_2d >= DITHER_OFF_MIN_BITS) {
    glDisable(GL_DITHER);
  }
}

// GL x = 0, y = 0 is the window's lower-left pixel and the coordinates reach the origin's
// distance beyond the left and bottom edges, so negative raster positions stay valid. The
// right and top planes stop one unit short of the viewport's pixels (767 units over 768), which
// moves positions at x >= 256 or y >= 192 one pixel on; the reference times were measured with
// that placement, so it stays.
void set_raster_projection() {
  const RasterOrigin& o = raster_origin;
  glOrtho(-o.x, o.x + TEST_WINDOW_WIDTH - 1, -o.y, o.y + TEST_WINDOW_HEIGHT - 1, -1.0, 1.0);
  glViewport(-o.x, -o.y, TEST_WINDOW_WIDTH + 2 * o.x, TEST_WINDOW_HEIGHT + 2 * o.y);
}

void set_up_raster_window() {
  raster_origin = RasterOrigin{};
  record_colour_depths();
  choose_dithering();
  enable_logic_ops();
  set_raster_projection();
  glClearColor(0.0f, 0.0f, 0.2f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void set_colour_scale(GLfloat scale) {
  glPixelTransferf(GL_RED_SCALE, scale);
  glPixelTransferf(GL_GREEN_SCALE, scale);
  glPixelTransferf(GL_BLUE_SCALE, scale);
}

void probe_and_time_puts(const RasterTest& test) {
  if (test.probed && probe_put_effect()) {
    record_check_skip(test.id);
    return;
  }
  const double seconds = time_random_puts();
  record_test_time(test.id, seconds);
}

void run_put_test(const RasterTest& test) {
  glLogicOp(test.logic_op);
  probe_and_time_puts(test);
}

// The scales are put back whether the test was timed or passed over.
void run_half_tone_test(const RasterTest& test) {
  set_colour_scale(HALF_TONE_SCALE);
  glLogicOp(test.logic_op);
  probe_and_time_puts(test);
  set_colour_scale(1.0f);
}

void run_copy_test(const RasterTest& test) {
  put_copy_source();
  glLogicOp(test.logic_op);
  if (test.probed && probe_copy_effect()) {
    record_check_skip(test.id);
    return;
  }
  const double seconds = time_random_copies();
  record_test_time(test.id, seconds);
}

void run_scaling_test(const RasterTest& test) {
  glLogicOp(test.logic_op);
  prepare_raster_scaling();
  glFinish();
  stopwatch_start();
  time_raster_scaling();
  glFinish();
  const double seconds = stopwatch_elapsed();
  record_test_time(test.id, seconds);
}

void run_raster_test(const RasterTest& test) {
  if (skip_flags[test.id]) return;
  set_progress_title(test_catalogue[test.id].title);
  switch (test.kind) {
    case half_tone_put:
      run_half_tone_test(test);
      break;
    case put:
      run_put_test(test);
      break;
    case copy:
      run_copy_test(test);
      break;
    case zoom:
      run_scaling_test(test);
      break;
  }
}

}  // namespace

void run_2d_suite() {
  set_up_raster_window();
  if (run_options.status_only) return;
  capture_reference_block();
  for (const RasterTest& test : RASTER_TESTS) run_raster_test(test);
}
