#include "raster2d/raster_suite.h"

#include <GL/gl.h>

#include <cstdint>
#include <iterator>
#include <vector>

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

// The 2D kernels, one row each, in Kernel order: the timed loop, its check frame (the same
// drawing untimed, which check_picture draws in the reference's circumstances), and what the
// suite sets up around it.
struct RasterKernel {
  double (*timed)(KernelTables& tables, int32_t count, const RasterOrigin& origin, BenchRand& rand);
  void (*check_frame)(KernelTables& tables, int32_t count, const RasterOrigin& origin,
                      BenchRand& rand);
  bool draws_positions;  // takes its positions from the generator
  bool copies;           // copies a source block, and its probe copies too
  GLfloat colour_scale;  // the red, green and blue scales its puts draw at
};
constexpr RasterKernel RASTER_KERNELS[] = {
    {time_random_puts, draw_random_puts, true, false, HALF_TONE_SCALE},  // half_tone_put
    {time_random_puts, draw_random_puts, true, false, 1.0f},             // put
    {time_random_copies, draw_random_copies, true, true, 1.0f},          // copy
    {[](KernelTables& tables, int32_t steps, const RasterOrigin&, BenchRand&) {
       return time_zoom_sweep(tables, steps);
     },
     [](KernelTables& tables, int32_t steps, const RasterOrigin&, BenchRand&) {
       draw_zoom_sweep(tables, steps);
     },
     false, false, 1.0f},  // zoom
};
static_assert(std::size(RASTER_KERNELS) == static_cast<size_t>(Kernel::zoom) + 1);

const RasterKernel& raster_kernel(const TestInfo& test) {
  return RASTER_KERNELS[static_cast<int>(test.kernel)];
}

// The window as it shows, RGBA, read at unit colour scales (the scales apply to reads too).
std::vector<GLubyte> read_window() {
  std::vector<GLubyte> pixels(static_cast<size_t>(TEST_WINDOW_WIDTH) * TEST_WINDOW_HEIGHT * 4);
  glPushAttrib(GL_PIXEL_MODE_BIT);
  set_colour_scale(1.0f);
  glReadPixels(0, 0, TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE,
               pixels.data());
  glPopAttrib();
  return pixels;
}

// Puts back what read_window read, whatever logic operation, scale and zoom are in force.
void put_back_window(const std::vector<GLubyte>& pixels) {
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT);
  glLogicOp(GL_COPY);
  set_colour_scale(1.0f);
  glPixelZoom(1.0f, 1.0f);
  glRasterPos2i(0, 0);
  glDrawPixels(TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glPopAttrib();
}

// One 2D window's session of the suite: the context it reports to, its raster
// origin and its check.
struct RasterSession {
  SuiteContext& context;
  RasterOrigin origin;
  PixelProbe probe;
  // The generator as the run of the reference pictures had it at the running test: from the
  // run's first 2D window on, each test drawing its positions at the test-loop count.
  BenchRand reference_rand;
  // The kernels' tables; also where a test passed over draws the positions it would have used.
  KernelTables tables = {};

  // The test hook's planted fault: GL_XOR draws as GL_COPY once its check
  // has seen it work.
  static void plant_logic_fault(const TestInfo& test) {
    if (drawing_fault() == DrawingFault::logic_copy && test.raster.logic_op == LogicOp::xor_) {
      glLogicOp(GL_COPY);
    }
  }

  // What a test draws and sets before its loop, in its order: a copy test's source, the logic
  // operation, then a probed test's probe. True when the automatic check found the operation
  // without effect. A check frame's probe draws whether or not the check is on.
  bool prepare_test(const TestInfo& test, bool check_frame) {
    const bool copy = raster_kernel(test).copies;
    if (copy) put_copy_source(origin);
    glLogicOp(gl_logic_op(test));
    if (!test.raster.probed) return false;
    if (check_frame) {
      copy ? probe.draw_copy_probe() : probe.draw_put_probe();
      return false;
    }
    return copy ? probe.probe_copy_effect() : probe.probe_put_effect();
  }

  // A validation run compares every picture with one drawn where every
  // test ran, so a test its check passes over still takes its positions
  // from the generator: the tests after it then draw at their usual places.
  void pass_over_by_check(const TestInfo& test) {
    context.skipped_by_check(test.id);
    if (!context.options.validating() || !raster_kernel(test).draws_positions) return;
    fill_random_positions(tables.positions, context.count(test), origin, context.state.rand);
  }

  // The test's check frame, right after its timed loop: on a cleared window, what the run of
  // the reference pictures drew for it, from the generator as that run had it and with the
  // state the timed loop had; then the window, the state and the run's generator are as before.
  void check_picture(const TestInfo& test) {
    if (!context.checking_pictures()) return;
    const std::vector<GLubyte> shown = read_window();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT);
    glClear(GL_COLOR_BUFFER_BIT);
    BenchRand rand = reference_rand;
    prepare_test(test, true);
    plant_logic_fault(test);
    raster_kernel(test).check_frame(tables, TEST_LOOP_COUNT, origin, rand);
    context.picture_ready(test.id, PictureSource::check_frame);
    glPopAttrib();
    put_back_window(shown);
  }

  void run_raster_test(const TestInfo& test) {
    if (context.skipped(test.id)) return;
    context.started(test.id);
    // Each test draws over what the one before left; a validation run
    // clears first, so that every picture is the test's own.
    if (context.options.validating()) glClear(GL_COLOR_BUFFER_BIT);
    // The scales are put back whether the test was timed or passed over.
    const GLfloat scale = raster_kernel(test).colour_scale;
    const bool scaled = scale != 1.0f;
    if (scaled) set_colour_scale(scale);
    if (prepare_test(test, false)) {
      pass_over_by_check(test);
    } else {
      plant_logic_fault(test);
      context.wait_turn(test.id);
      context.timed(test.id, raster_kernel(test).timed(tables, context.count(test), origin,
                                                       context.state.rand));
      check_picture(test);
    }
    if (scaled) set_colour_scale(1.0f);
    context.drawn(test.id);
  }

  // Every row moves the reference generator on, as the reference run's test drew its positions
  // whether or not this run draws the test.
  void run_row(const TestInfo& test) {
    run_raster_test(test);
    if (raster_kernel(test).draws_positions) {
      fill_random_positions(tables.positions, TEST_LOOP_COUNT, origin, reference_rand);
    }
  }
};

}  // namespace

void run_2d_suite(SuiteContext& context) {
  // Every run's first pass has drawn the same values before its 2D window (the 3D set-up's
  // spin), so the generator as the first 2D window finds it is where the reference run's 2D
  // tests began.
  if (!context.state.first_2d_rand) context.state.first_2d_rand = context.state.rand;
  RasterSession raster{context, RasterOrigin{}, PixelProbe{context.options.auto_pass, {}},
                       *context.state.first_2d_rand};
  set_up_raster_window(raster.origin, context.state.environment_info);
  if (context.options.status_only) return;
  raster.probe.capture_reference_block();
  for (int id = FIRST_2D_TEST; id <= LAST_2D_TEST && !context.stop_wanted(); ++id) {
    raster.run_row(test_catalogue[id]);
  }
}
