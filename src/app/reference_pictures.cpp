#include "app/reference_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <vector>

std::string reference_folder() {
  if (const char* folder = std::getenv("TARVELIN_REFERENCES"); folder != nullptr && *folder) {
    return folder;
  }
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed =
        program.parent_path().parent_path() / "share" / "tarvelin" / "reference";
    if (std::filesystem::is_directory(installed, error)) return installed.string();
  }
  return TARVELIN_SOURCE_REFERENCES;
}

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
// The 2D kernels' tolerances, in Kernel order.
constexpr Tolerance RASTER_TOLERANCES[] = {
    {1, 0.0, 0},     // half_tone_put
    {0, 0.0, 0},     // put
    {0, 0.0, 0},     // copy
    {2, 0.0005, 0},  // zoom
};
static_assert(std::size(RASTER_TOLERANCES) == static_cast<size_t>(Kernel::zoom) + 1);

Tolerance tolerance_for(const TestInfo& test) {
  if (is_2d_kernel(test.kernel)) return RASTER_TOLERANCES[static_cast<int>(test.kernel)];
  if (test.scene.state == DrawState::smooth_lines) return {24, 0.06, 1};
  if (test.scene.stage == Stage::lines || test.scene.polygon_mode == PolygonMode::lines) {
    return {12, 0.015, 1};
  }
  if (test.scene.polygon_mode == PolygonMode::points) return {12, 0.001, 1};
  return {12, 0.00001, 1, true};
}

Picture read_test_picture(const TestWindow& window) {
  std::vector<uint8_t> rows(platform::TEST_PICTURE_BYTES);
  window.read_back(rows.data());
  return picture_from_gl_rows(rows.data(), TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
}

bool read_reference(const std::string& folder, const TestInfo& test, Picture& out,
                    std::string& error) {
  const std::string path = folder + "/" + test.keyword + ".png";
  if (!std::filesystem::exists(path)) {
    error = "no reference " + path;
    return false;
  }
  if (!read_png(path, out, error)) {
    error = "reference " + path + " cannot be read (" + error + ")";
    return false;
  }
  if (out.width != TEST_WINDOW_WIDTH || out.height != TEST_WINDOW_HEIGHT) {
    error = "reference " + path + " is " + std::to_string(out.width) + " x " +
            std::to_string(out.height) + " pixels, the picture " +
            std::to_string(TEST_WINDOW_WIDTH) + " x " + std::to_string(TEST_WINDOW_HEIGHT);
    return false;
  }
  return true;
}

PictureVerdict judge_picture(const TestInfo& test, const Picture& captured,
                             const Picture& reference, PictureDifference* difference) {
  const Tolerance tolerance = tolerance_for(test);
  const PictureDifference found = compare_pictures(captured, reference, tolerance);
  if (difference != nullptr) *difference = found;
  PictureVerdict verdict;
  verdict.state = within(found, tolerance) ? PictureVerdict::ok : PictureVerdict::differs;
  verdict.share_beyond = found.share_beyond;
  verdict.largest = found.largest;
  verdict.channel_threshold = tolerance.channel_threshold;
  verdict.allowed_share = tolerance.allowed_share;
  return verdict;
}
