// The report text, against literal expected text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "report/results_text.h"
#include "report/status_text.h"

namespace {

// Collects what is written to a stream in memory.
class MemoryStream {
 public:
  MemoryStream() : stream_(open_memstream(&buffer_, &size_)) {}
  ~MemoryStream() {
    std::fclose(stream_);
    std::free(buffer_);
  }
  FILE* get() const { return stream_; }
  std::string text() {
    std::fflush(stream_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  FILE* stream_;
};

const std::string HEADER = std::string("# Tarvelin ") + VERSION_TEXT + "\n";

constexpr const char* BITS_BLOCKS =
    "# 3D testing environment (double buffer)\n"
    "RED Bits         : 8\n"
    "GREEN Bits       : 8\n"
    "BLUE Bits        : 8\n"
    "DEPTH Bits       : 24\n"
    "STENCIL Bits     : 8\n"
    "ACCUM_RED Bits   : 16\n"
    "ACCUM_GREEN Bits : 16\n"
    "ACCUM_BLUE Bits  : 16\n"
    "\n"
    "# 2D testing environment (single buffer)\n"
    "RED Bits         : 5\n"
    "GREEN Bits       : 6\n"
    "BLUE Bits        : 5\n"
    "\n";

// Off-screen the 3D block names the pbuffer the tests draw into.
std::string off_screen_blocks() {
  std::string blocks = BITS_BLOCKS;
  const std::string window = "(double buffer)";
  return blocks.replace(blocks.find(window), window.size(), "(pbuffer, one colour buffer)");
}

class ReportStatusText : public ::testing::Test {
 protected:
  ReportStatusText() {
    info.depth_bits_3d = 24;
    info.red_bits_3d = info.green_bits_3d = info.blue_bits_3d = 8;
    info.stencil_bits = 8;
    info.accum_red_bits = info.accum_green_bits = info.accum_blue_bits = 16;
    info.red_bits_2d = 5;
    info.green_bits_2d = 6;
    info.blue_bits_2d = 5;
  }

  std::string status() {
    MemoryStream out;
    write_status_text(out.get(), options, info);
    return out.text();
  }

  RunOptions options;
  EnvironmentInfo info;
  char vendor[8] = "Mesa";
  char renderer[16] = "llvmpipe";
  char version[20] = "1.4 Mesa 22.3.6";
  char extensions[48] = "GL_ARB_multitexture GL_EXT_abgr ";
  char empty[1] = "";
};

TEST_F(ReportStatusText, QuarterThreeLoopsAutoCheckInOrder) {
  options.quarter = true;
  options.loops = 3;
  info.vendor_string = vendor;
  info.renderer_string = renderer;
  info.version_string = version;
  info.extensions_string = extensions;
  EXPECT_EQ(status(), HEADER +
                          std::string("#   quarter mode\n"
                                      "#   3 loops\n"
                                      "#   function auto check mode\n"
                                      "\n"
                                      "Vendor     : Mesa\n"
                                      "Renderer   : llvmpipe\n"
                                      "Version    : 1.4 Mesa 22.3.6\n"
                                      "Extensions : GL_ARB_multitexture\n"
                                      "             GL_EXT_abgr\n"
                                      "\n") +
                          BITS_BLOCKS);
}

TEST_F(ReportStatusText, HeaderShowsLoopsFromTwoAndAutoCheckOnlyWhenOn) {
  options.loops = 1;
  EXPECT_EQ(status(), HEADER +
                          std::string("#   function auto check mode\n"
                                      "\n") +
                          BITS_BLOCKS);
  options.loops = 2;
  options.auto_pass = false;
  EXPECT_EQ(status(), HEADER +
                          std::string("#   2 loops\n"
                                      "\n") +
                          BITS_BLOCKS);
  options.loops = 0;
  EXPECT_EQ(status(), HEADER + "\n" + BITS_BLOCKS);
}

// The last comment line of the header says whether swaps could wait for the display.
TEST_F(ReportStatusText, HeaderEndsWithTheSwapIntervalOnceA3DWindowRan) {
  const std::string head = HEADER + "#   function auto check mode\n";
  const std::pair<SwapIntervalState, const char*> lines[] = {
      {SwapIntervalState::zero, "#   swap interval 0\n"},
      {SwapIntervalState::driver_by_request, "#   swap interval: set by the driver (-vsync)\n"},
      {SwapIntervalState::driver_no_control,
       "#   swap interval: set by the driver (no control offered)\n"},
  };
  for (const auto& [state, line] : lines) {
    info.swap_interval = state;
    EXPECT_EQ(status(), head + line + "\n" + BITS_BLOCKS);
  }
  info.swap_interval = SwapIntervalState::not_set;
  EXPECT_EQ(status(), head + "\n" + BITS_BLOCKS);
}

// Off-screen, a line under the swap interval's says where the tests drew,
// and the JSON environment names the platform and the device's file.
TEST_F(ReportStatusText, OffscreenRunsSayWhereTheyDrew) {
  const std::string head = HEADER + "#   function auto check mode\n";
  const struct {
    GlPlatform platform;
    int32_t device;
    std::optional<std::string> drm_file;
    const char* line;
  } cases[] = {
      {GlPlatform::egl_device, 1, "/dev/dri/renderD128",
       "#   off-screen (EGL device /dev/dri/renderD128)\n"},
      {GlPlatform::egl_device, 0, std::nullopt, "#   off-screen (EGL device 0)\n"},
      {GlPlatform::egl_surfaceless, -1, std::nullopt, "#   off-screen (EGL, Mesa surfaceless)\n"},
      {GlPlatform::glx, -1, std::nullopt, ""},
  };
  info.swap_interval = SwapIntervalState::zero;
  for (const auto& c : cases) {
    info.gl_platform = c.platform;
    info.egl_device = c.device;
    info.drm_file = c.drm_file;
    EXPECT_EQ(status(), head + "#   swap interval 0\n" + c.line + "\n" +
                            (c.platform == GlPlatform::glx ? BITS_BLOCKS : off_screen_blocks()));
  }
}

TEST_F(ReportStatusText, AbsentOrEmptyStringsGiveNoEmptyLine) {
  EXPECT_EQ(status(), HEADER +
                          std::string("#   function auto check mode\n"
                                      "\n") +
                          BITS_BLOCKS);

  info.vendor_string = info.renderer_string = info.version_string = empty;
  info.extensions_string = empty;
  EXPECT_EQ(status(), HEADER +
                          std::string("#   function auto check mode\n"
                                      "\n"
                                      "Vendor     : \n"
                                      "Renderer   : \n"
                                      "Version    : \n"
                                      "Extensions : \n") +
                          BITS_BLOCKS);
}

TEST_F(ReportStatusText, OneStringIsEnoughForTheEmptyLine) {
  info.renderer_string = renderer;
  EXPECT_EQ(status(), HEADER +
                          std::string("#   function auto check mode\n"
                                      "\n"
                                      "Renderer   : llvmpipe\n"
                                      "\n") +
                          BITS_BLOCKS);
}

std::string extension_lines(const std::string& extensions) {
  MemoryStream out;
  write_extension_lines(out.get(), extensions.c_str());
  return out.text();
}

TEST(ReportExtensionLines, OneWordALineInOneColumn) {
  const std::string long_name = "GL_" + std::string(300, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"GL_A", "Extensions : GL_A\n"},
      {"GL_A GL_B ", "Extensions : GL_A\n             GL_B\n"},
      {"GL_A  GL_B", "Extensions : GL_A\n             \n             GL_B\n"},
      {"GL_A   ", "Extensions : GL_A\n             \n             \n"},
      {" GL_A", "Extensions : \n             GL_A\n"},
      {"", "Extensions : \n"},
      {"GL_A\nGL_B", "Extensions : GL_A\n"},
      {"GL_A \nGL_B", "Extensions : GL_A\n"},
      {"GL_A " + long_name, "Extensions : GL_A\n             " + long_name + "\n"},
  };
  for (const auto& [extensions, lines] : cases) {
    EXPECT_EQ(extension_lines(extensions), lines) << testing::PrintToString(extensions);
  }
}

class ReportResultsText : public ::testing::Test {
 protected:
  // Every test measured in one pass at its reference time: score 100.
  ReportResultsText() {
    for (int id = 0; id < TEST_COUNT; ++id) set_score(id, 100.0);
  }

  // A slot-0 time that gives exactly `score` for one pass.
  void set_score(int id, double score) {
    times[id][0] = test_catalogue[id].reference * (100.0 / score);
  }

  std::string results() {
    MemoryStream out;
    write_results_text(out.get(), options, run_results);
    return out.text();
  }

  RunOptions options;
  RunResults run_results;
  uint8_t (&flags)[TEST_COUNT] = run_results.skip_flags;
  double (&times)[TEST_COUNT][TIME_SLOTS] = run_results.test_times;
};

// The report's labels in report order, as recorded from the catalogue by
// scripts/record_expected.
std::vector<std::string> recorded_labels() {
  std::ifstream in(TARVELIN_EXPECTED_DIR "/report_labels.txt");
  std::vector<std::string> labels;
  for (std::string line; std::getline(in, line);) labels.push_back(line);
  return labels;
}

TEST_F(ReportResultsText, AllLinesInReportOrder) {
  // The 3D group, then the 2D group, each label padded to 25 columns; an
  // empty line after the swap test's and after each group.
  std::string expected = "# result : 100.0 or higher is best\n\n";
  const std::vector<std::string> labels = recorded_labels();
  ASSERT_EQ(labels.size(), size_t(TEST_COUNT));
  std::string group = "3D";
  for (const std::string& label : labels) {
    if (!label.starts_with(group)) expected += "\n";
    group = label.substr(0, 2);
    char line[64];
    std::snprintf(line, sizeof line, "%-25s: 100.000000\n", label.c_str());
    expected += line + std::string(label == "3D swap_buffer" ? "\n" : "");
  }
  EXPECT_EQ(results(), expected +
                           "\n"
                           "# 3D average without swap_buffer\n"
                           "3D total : 100.000000\n"
                           "2D total : 100.000000\n");
}

TEST_F(ReportResultsText, SkippedSwapBufferKeepsItsEmptyLineAndTheTotal) {
  flags[test_id::swap_buffer] = 1;
  const std::string text = results();
  EXPECT_NE(text.find("\n\n3D swap_buffer           : skipped\n\n3D lines "), std::string::npos);
  EXPECT_TRUE(
      text.ends_with("# 3D average without swap_buffer\n"
                     "3D total : 100.000000\n"
                     "2D total : 100.000000\n"));
}

TEST_F(ReportResultsText, GroupMeansLeaveOutSwapBufferAndSkippedTests) {
  set_score(test_id::swap_buffer, 10000.0);
  for (int id = test_id::vertex_color_fog; id <= LAST_3D_TEST; ++id) set_score(id, 200.0);
  set_score(test_id::scaling, 200.0);
  set_score(test_id::put_xor, 10000.0);
  flags[test_id::put_xor] = 1;
  const std::string text = results();
  EXPECT_NE(text.find("\n2D put GL_XOR            : skipped\n"), std::string::npos);
  // Of the 3D tests after swap_buffer those from vertex_color_fog on score
  // 200, the others 100; of the 2D tests but put_xor one scores 200.
  const double group_3d = LAST_3D_TEST - test_id::lines + 1;
  const double at_200 = LAST_3D_TEST - test_id::vertex_color_fog + 1;
  const double group_2d = LAST_2D_TEST - FIRST_2D_TEST;
  char totals[128];
  std::snprintf(totals, sizeof totals, "3D total : %f\n2D total : -----\n2D implemented : %f\n",
                (100.0 * (group_3d - at_200) + 200.0 * at_200) / group_3d,
                (100.0 * (group_2d - 1) + 200.0) / group_2d);
  EXPECT_TRUE(text.ends_with(std::string("# 3D average without swap_buffer\n") + totals));
}

TEST_F(ReportResultsText, EveryGroupTestSkippedImplementsZero) {
  for (int id = test_id::lines; id <= LAST_3D_TEST; ++id) flags[id] = 1;
  flags[test_id::copy_nor] = 1;
  const std::string text = results();
  EXPECT_NE(text.find("3D swap_buffer           : 100.000000\n\n"), std::string::npos);
  EXPECT_TRUE(
      text.ends_with("3D total : -----\n"
                     "2D total : -----\n"
                     "3D implemented : 0.000000\n"
                     "2D implemented : 100.000000\n"));
}

TEST_F(ReportResultsText, ScoresUseLoopsAndQuarterOfTheOptions) {
  options.loops = 3;
  options.quarter = true;
  const double reference = test_catalogue[test_id::lines].reference;
  times[test_id::lines][0] = reference;  // trimmed away as the largest
  times[test_id::lines][1] = reference / 8;
  times[test_id::lines][2] = 0.0;  // trimmed away as the smallest
  const std::string text = results();
  EXPECT_NE(text.find("\n3D lines                 : 200.000000\n"), std::string::npos);
}

// A mean time of 0.0 was faster than the clock could tell: the line says
// "inf", and the group reports it like a skipped test so that its average
// stays finite.
TEST_F(ReportResultsText, UnmeasurableTestShowsInfAndLeavesTheGroupMean) {
  times[test_id::swap_buffer][0] = 0.0;
  times[test_id::points][0] = 0.0;
  set_score(test_id::blur, 400.0);
  const std::string text = results();
  EXPECT_NE(text.find("\n3D swap_buffer           : inf\n\n"), std::string::npos);
  EXPECT_NE(text.find("\n3D points                : inf\n"), std::string::npos);
  // One score of 400, the others of the group's measured tests 100.
  const double measured = LAST_3D_TEST - test_id::lines;
  char totals[96];
  std::snprintf(totals, sizeof totals,
                "3D total : -----\n2D total : 100.000000\n3D implemented : %f\n",
                (100.0 * (measured - 1) + 400.0) / measured);
  EXPECT_TRUE(text.ends_with(totals));
  EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST_F(ReportResultsText, OnlySwapBufferUnmeasurableKeepsTheTotals) {
  times[test_id::swap_buffer][0] = 0.0;
  EXPECT_TRUE(
      results().ends_with("# 3D average without swap_buffer\n"
                          "3D total : 100.000000\n"
                          "2D total : 100.000000\n"));
}

}  // namespace
