#include "raster2d/raster_suite.h"

#include <GL/gl.h>

#include <cstdint>
#include <iterator>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/stopwatch.h"
#include "core/test_hooks.h"
#include "core/test_window.h"
#include "raster2d/pixel_kernels.h"
#include "raster2d/pixel_probes.h"
#include "raster2d/raster_positions.h"

namespace {

// The GL operation of each LogicOp, in that enum's order.
constexpr GLenum GL_LOGIC_OPS[] = {
    GL_COPY, GL_COPY_INVERTED, GL_AND_REVERSE, GL_OR_REVERSE, GL_AND,          GL_OR,
    GL_NAND, GL_NOR,           GL_XOR,         GL_EQUIV,      GL_AND_INVERTED, GL_OR_INVERTED,
};
static_assert(std::size(GL_LOGIC_OPS) == static_cast<size_t>(LogicOp::or_inverted) + 1);

GLenum gl_logic_op(const TestInfo& test) {
  return GL_LOGIC_OPS[static_cast<int>(test.raster.logic_op)];
}

// Since OpenGL 1.1 the old enable GL_LOGIC_OP (0x0BF1) applies logic operations to colour-index
// pixels only, and GL_COLOR_LOGIC_OP (0x0BF2) to RGBA pixels, which our windows always have.
// Both are enabled, so that an implementation of either generation applies the operation.
static_assert(GL_LOGIC_OP == 0x0BF1 && GL_COLOR_LOGIC_OP == 0x0BF2);

void enable_logic_ops() {
  if (logic_ops_held_off()) return;
  glEnable(GL_LOGIC_OP);
  glEnable(GL_COLOR_LOGIC_OP);
}

// Fewer bits than this in any colour and dithering stays on, as the visual needs it.
constexpr int32_t DITHER_OFF_MIN_BITS = 5;
constexpr GLfloat HALF_TONE_SCALE = 0.45f;

void record_colour_depths(EnvironmentInfo& environment) {
  GLint red = 0;
  GLint green = 0;
  GLint blue = 0;
  glGetIntegerv(GL_RED_BITS, &red);
  glGetIntegerv(GL_GREEN_BITS, &green);
  glGetIntegerv(GL_BLUE_BITS, &blue);
  environment.red_bits_2d = red;
  environment.green_bits_2d = green;
  environment.blue_bits_2d = blue;
}

void choose_dithering(const EnvironmentInfo& e) {
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
void set_raster_projection(const RasterOrigin& o) {
  glOrtho(-o.x, o.x + TEST_WINDOW_WIDTH - 1, -o.y, o.y + TEST_WINDOW_HEIGHT - 1, -1.0, 1.0);
  glViewport(-o.x, -o.y, TEST_WINDOW_WIDTH + 2 * o.x, TEST_WINDOW_HEIGHT + 2 * o.y);
}

void set_up_raster_window(const RasterOrigin& origin, EnvironmentInfo& environment) {
  record_colour_depths(environment);
  choose_dithering(environment);
  enable_logic_ops();
  set_raster_projection(origin);
  glClearColor(0.0f, 0.0f, 0.2f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void set_colour_scale(GLfloat scale) {
  glPixelTransferf(GL_RED_SCALE, scale);
  glPixelTransferf(GL_GREEN_SCALE, scale);
  glPixelTransferf(GL_BLUE_SCALE, scale);
}

// One window's run of the suite: the context it reports to, its raster origin and its check.
struct RasterRun {
  SuiteContext& context;
  RasterOrigin origin;
  PixelProbe probe;

  // A validation run compares every picture with one drawn where every
  // test ran, so a test its check passes over still takes its positions
  // from the generator: the tests after it then draw at their usual places.
  void skip_by_check(const TestInfo& test) {
    context.skipped_by_check(test.id);
    if (!context.options.validating()) return;
    static PositionTable unused;
    fill_random_positions(unused, context.counts()[test.count], origin, context.run.rand);
  }

  // The test hook's planted fault: GL_XOR draws as GL_COPY once its check
  // has seen it work.
  static void plant_logic_fault(const TestInfo& test) {
    if (drawing_fault() == DrawingFault::logic_copy && test.raster.logic_op == LogicOp::xor_) {
      glLogicOp(GL_COPY);
    }
  }

  void probe_and_time_puts(const TestInfo& test) {
    if (test.raster.probed && probe.probe_put_effect()) {
      skip_by_check(test);
      return;
    }
    plant_logic_fault(test);
    const double seconds = time_random_puts(context.counts()[test.count], origin, context.run.rand);
    context.timed(test.id, seconds);
  }

  void run_put_test(const TestInfo& test) {
    glLogicOp(gl_logic_op(test));
    probe_and_time_puts(test);
  }

  // The scales are put back whether the test was timed or passed over.
  void run_half_tone_test(const TestInfo& test) {
    set_colour_scale(HALF_TONE_SCALE);
    glLogicOp(gl_logic_op(test));
    probe_and_time_puts(test);
    set_colour_scale(1.0f);
  }

  void run_copy_test(const TestInfo& test) {
    put_copy_source(origin);
    glLogicOp(gl_logic_op(test));
    if (test.raster.probed && probe.probe_copy_effect()) {
      skip_by_check(test);
      return;
    }
    plant_logic_fault(test);
    const double seconds =
        time_random_copies(context.counts()[test.count], origin, context.run.rand);
    context.timed(test.id, seconds);
  }

  void run_scaling_test(const TestInfo& test) {
    glLogicOp(gl_logic_op(test));
    prepare_raster_scaling(context.counts()[test.count]);
    context.timed(test.id, time_finished(time_raster_scaling));
  }

  void run_raster_test(const TestInfo& test) {
    if (context.skipped(test.id)) return;
    context.started(test.id);
    // Each test draws over what the one before left; a validation run
    // clears first, so that every picture is the test's own.
    if (context.options.validating()) glClear(GL_COLOR_BUFFER_BIT);
    switch (test.kernel) {
      case Kernel::half_tone_put:
        run_half_tone_test(test);
        break;
      case Kernel::put:
        run_put_test(test);
        break;
      case Kernel::copy:
        run_copy_test(test);
        break;
      case Kernel::zoom:
        run_scaling_test(test);
        break;
      default:
        break;  // 3D kernels have no rows in the 2D range
    }
    context.drawn(test.id);
  }
};

}  // namespace

void run_2d_suite(SuiteContext& context) {
  RasterRun raster{context, RasterOrigin{}, PixelProbe{context.options.auto_pass, {}}};
  set_up_raster_window(raster.origin, context.run.environment_info);
  if (context.options.status_only) return;
  raster.probe.capture_reference_block();
  for (int id = FIRST_2D_TEST; id <= LAST_2D_TEST; ++id) raster.run_raster_test(test_catalogue[id]);
}
