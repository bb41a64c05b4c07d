#include "app/validation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/printable.h"
#include "core/test_window.h"
#include "platform/platform.h"
#include "report/report.h"

namespace {

// The pictures written for a test whose picture differs.
constexpr const char* PICTURE_KINDS[] = {"captured", "reference", "difference"};

// How far a picture may stray from its reference. GL fixes some results
// exactly and leaves others to the implementation, within limits:
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
Tolerance tolerance_for(const TestInfo& test) {
  switch (test.kernel) {
    case Kernel::put:
    case Kernel::copy:
      return {0, 0.0, 0};
    case Kernel::half_tone_put:
      return {1, 0.0, 0};
    case Kernel::zoom:
      return {2, 0.0005, 0};
    default:
      break;
  }
  // Lines and points are a pixel wide, so their differences can never be
  // patches: a share of them is allowed instead, larger for antialiased
  // lines, whose coverage GL leaves to the implementation.
  if (test.scene.state == DrawState::smooth_lines) return {24, 0.06, 1};
  if (test.scene.stage == Stage::lines || test.scene.polygon_mode == PolygonMode::lines) {
    return {12, 0.015, 1};
  }
  if (test.scene.polygon_mode == PolygonMode::points) return {12, 0.001, 1};
  return {12, 0.00001, 1, true};
}

}  // namespace

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

bool Validation::prepare() {
  references_ = reference_folder();
  std::error_code error;
  if (!std::filesystem::is_directory(references_, error)) {
    std::fprintf(stderr, "Error : no reference pictures: folder %s not found\n",
                 printable(references_).c_str());
    return false;
  }
  const std::string folder = printable(options_.validate_dir);
  std::filesystem::create_directories(options_.validate_dir, error);
  if (error) {
    std::fprintf(stderr, "Error : folder %s not created (%s)\n", folder.c_str(),
                 error.message().c_str());
    return false;
  }
  // Found now rather than after every test has run.
  std::string probe = options_.validate_dir + "/.tarvelin-XXXXXX";
  const int descriptor = mkstemp(probe.data());
  if (descriptor < 0) {
    std::fprintf(stderr, "Error : folder %s cannot be written (%s)\n", folder.c_str(),
                 std::strerror(errno));
    return false;
  }
  close(descriptor);
  unlink(probe.c_str());
  // The pictures of an earlier run would stand beside a summary that no
  // longer speaks of them.
  for (const TestInfo& test : test_catalogue) {
    for (const char* what : PICTURE_KINDS) std::filesystem::remove(picture_path(test, what), error);
  }
  return true;
}

std::string Validation::picture_path(const TestInfo& test, const char* what) const {
  return options_.validate_dir + "/" + test.keyword + "-" + what + ".png";
}

void Validation::save(const TestInfo& test, const char* what, const Picture& picture) const {
  const std::string path = picture_path(test, what);
  std::string trouble;
  if (!write_png(path, picture, trouble)) {
    std::fprintf(stderr, "Error : file %s not written (%s)\n", printable(path).c_str(),
                 trouble.c_str());
  }
}

void Validation::check(const TestInfo& test, const TestWindow& window) {
  PictureVerdict& verdict = state_.results.verdicts[test.id];
  if (state_.results.skipped(test.id)) {
    verdict.state = PictureVerdict::skipped;
    return;
  }
  std::vector<uint8_t> rows(platform::TEST_PICTURE_BYTES);
  window.read_back(rows.data());
  const Picture captured = picture_from_gl_rows(rows.data(), TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);

  const std::string reference_path = references_ + "/" + test.keyword + ".png";
  Picture reference;
  std::string error;
  if (!std::filesystem::exists(reference_path)) {
    error = "no reference " + reference_path;
  } else if (!read_png(reference_path, reference, error)) {
    error = "reference " + reference_path + " cannot be read (" + error + ")";
  } else if (reference.width != captured.width || reference.height != captured.height) {
    error = "reference " + reference_path + " is " + std::to_string(reference.width) + " x " +
            std::to_string(reference.height) + " pixels, the picture " +
            std::to_string(captured.width) + " x " + std::to_string(captured.height);
  }
  if (!error.empty()) {
    verdict = {PictureVerdict::differs, 1.0, 255, true};
    progress_.note(("  differs: " + printable(error)).c_str());
    save(test, "captured", captured);
    return;
  }
  char line[256];
  const Tolerance tolerance = tolerance_for(test);
  const PictureDifference difference = compare_pictures(captured, reference, tolerance);
  const bool ok = within(difference, tolerance);
  verdict = {ok ? PictureVerdict::ok : PictureVerdict::differs, difference.share_beyond,
             difference.largest, false};
  std::snprintf(line, sizeof line, "  %s: %.3f%% of pixels beyond %d (%.3f%% allowed), largest %d",
                ok ? "ok" : "differs", 100.0 * difference.share_beyond, tolerance.channel_threshold,
                100.0 * tolerance.allowed_share, difference.largest);
  progress_.note(line);
  if (ok) return;
  save(test, "captured", captured);
  save(test, "reference", reference);
  save(test, "difference", difference_picture(captured, reference, tolerance));
}

bool Validation::write_summary() const {
  const std::string path = options_.validate_dir + "/summary.txt";
  FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) {
    std::fprintf(stderr, "Error : file %s not created (%s)\n", printable(path).c_str(),
                 std::strerror(errno));
    return false;
  }
  for (const TestInfo& test : test_catalogue) {
    const PictureVerdict& verdict = state_.results.verdicts[test.id];
    std::fprintf(out, "%-24s %-11s %8.4f%% %3d%s\n", test.keyword, verdict_name(verdict.state),
                 100.0 * verdict.share_beyond, verdict.largest,
                 verdict.no_reference ? "  no reference" : "");
  }
  const bool written = std::fclose(out) == 0;
  if (!written) {
    std::fprintf(stderr, "Error : file %s not written (%s)\n", printable(path).c_str(),
                 std::strerror(errno));
  }
  return written;
}

int Validation::differing() const {
  int count = 0;
  for (const PictureVerdict& verdict : state_.results.verdicts) {
    count += verdict.state == PictureVerdict::differs ? 1 : 0;
  }
  return count;
}
