#include "judge/picture_judge.h"

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/printable.h"
#include "judge/tolerances.h"

namespace {

constexpr int REFERENCE_COLOUR_BITS = 8;

// Why the pictures of a window of these colour depths cannot be judged;
// empty when they can.
std::string colour_bits_trouble(int32_t red, int32_t green, int32_t blue) {
  if (red == REFERENCE_COLOUR_BITS && green == REFERENCE_COLOUR_BITS &&
      blue == REFERENCE_COLOUR_BITS) {
    return {};
  }
  return "the window has " + std::to_string(red) + "-" + std::to_string(green) + "-" +
         std::to_string(blue) + "-bit colour; the references have 8 bits a colour";
}

std::string colour_bits_trouble(const TestInfo& test, const EnvironmentInfo& info) {
  return is_2d_test(test.id)
             ? colour_bits_trouble(info.red_bits_2d, info.green_bits_2d, info.blue_bits_2d)
             : colour_bits_trouble(info.red_bits_3d, info.green_bits_3d, info.blue_bits_3d);
}

// Reads the test's reference from `folder` into `out`; false, with `error`
// saying why, when it is missing, cannot be read, or has another size than
// a test window.
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

Picture read_test_picture(const TestWindow& window) {
  std::vector<uint8_t> rows(TEST_PICTURE_BYTES);
  window.read_back(rows.data());
  return picture_from_gl_rows(rows.data(), TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
}

const std::string& PictureJudge::folder() {
  if (!folder_) folder_ = reference_folder();
  return *folder_;
}

const Picture* PictureJudge::reference(const TestInfo& test, std::string& trouble) {
  std::optional<Picture>& kept = references_[test.id];
  if (!kept && troubles_[test.id].empty()) {
    Picture picture;
    std::string error;
    if (read_reference(folder(), test, picture, error)) {
      kept = std::move(picture);
    } else {
      troubles_[test.id] = printable(error);
    }
  }
  trouble = troubles_[test.id];
  return kept ? &*kept : nullptr;
}

Judgement PictureJudge::judge(const TestInfo& test, const TestWindow& window,
                              const EnvironmentInfo& info, PictureSource source) {
  Judgement judged;
  judged.tolerance = tolerance_for(test);
  if (std::string trouble = colour_bits_trouble(test, info); !trouble.empty()) {
    judged.verdict = not_checked(std::move(trouble));
    return judged;
  }
  std::string trouble;
  judged.reference = reference(test, trouble);
  if (judged.reference == nullptr) {
    judged.verdict = not_checked(std::move(trouble));
    judged.verdict.no_reference = true;
    return judged;
  }
  judged.captured = read_test_picture(window);
  const PictureDifference found =
      compare_pictures(judged.captured, *judged.reference, judged.tolerance);
  PictureVerdict& verdict = judged.verdict;
  verdict.state = within(found, judged.tolerance) ? PictureVerdict::ok : PictureVerdict::differs;
  verdict.source = source;
  verdict.share_beyond = found.share_beyond;
  verdict.largest = found.largest;
  verdict.channel_threshold = judged.tolerance.channel_threshold;
  verdict.allowed_share = judged.tolerance.allowed_share;
  return judged;
}

PictureVerdict PictureJudge::not_checked(std::string reason) {
  PictureVerdict verdict;
  verdict.reason = std::move(reason);
  return verdict;
}

void PictureJudge::record(RunResults& results, TestId id, const PictureVerdict& verdict) {
  if (verdict.state != PictureVerdict::not_checked) {
    results.record_picture(id, verdict);
    return;
  }
  PictureVerdict& kept = results.verdicts[id];
  if (kept.passes_checked > 0 || !kept.reason.empty()) return;
  kept.reason = verdict.reason;
  kept.no_reference = verdict.no_reference;
}
