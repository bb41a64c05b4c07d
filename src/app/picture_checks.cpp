#include "app/picture_checks.h"

#include "app/reference_pictures.h"
#include "core/printable.h"
#include "core/stopwatch.h"
#include "platform/platform.h"
#include "report/statistics.h"

namespace {

constexpr int REFERENCE_COLOUR_BITS = 8;

// Why a window's pictures cannot be checked; empty when they can.
std::string colour_bits_trouble(int32_t red, int32_t green, int32_t blue) {
  if (red == REFERENCE_COLOUR_BITS && green == REFERENCE_COLOUR_BITS &&
      blue == REFERENCE_COLOUR_BITS) {
    return {};
  }
  return "the window has " + std::to_string(red) + "-" + std::to_string(green) + "-" +
         std::to_string(blue) + "-bit colour; the references have 8 bits a colour";
}

// Why a test that no pass checked was not checked, by what became of it.
const char* unchecked_reason(TestStatus status) {
  switch (status) {
    case TestStatus::left_out:
      return "left out";
    case TestStatus::skipped_by_check:
      return "not drawn: its automatic check passed it over";
    case TestStatus::skipped_off_screen:
      return "not drawn: the off-screen surface cannot draw it";
    case TestStatus::not_run:
      return "status-only run";
    case TestStatus::timed:
      break;
  }
  return "not drawn";
}

}  // namespace

bool PictureChecks::wanted() const {
  return options_.check_pictures && !options_.validating() && !options_.status_only;
}

void PictureChecks::leave_unchecked(const TestInfo& test, const std::string& reason) {
  PictureVerdict& verdict = state_.results.verdicts[test.id];
  if (verdict.passes_checked == 0 && verdict.reason.empty()) verdict.reason = reason;
}

const Picture* PictureChecks::reference(const TestInfo& test) {
  if (!folder_) folder_ = reference_folder();
  std::optional<Picture>& kept = references_[test.id];
  if (!kept) {
    Picture picture;
    std::string error;
    if (!read_reference(*folder_, test, picture, error)) {
      leave_unchecked(test, printable(error));
      return nullptr;
    }
    kept = std::move(picture);
  }
  return &*kept;
}

void PictureChecks::check(const TestInfo& test, const TestWindow& window, PictureSource source) {
  judge(test, window, source);
  state_.record.check_seconds += elapsed_seconds(state_.timed_end_ns, platform::clock_ns());
}

void PictureChecks::judge(const TestInfo& test, const TestWindow& window, PictureSource source) {
  const EnvironmentInfo& info = state_.environment_info;
  const std::string bits_trouble =
      is_2d_test(test.id)
          ? colour_bits_trouble(info.red_bits_2d, info.green_bits_2d, info.blue_bits_2d)
          : colour_bits_trouble(info.red_bits_3d, info.green_bits_3d, info.blue_bits_3d);
  if (!bits_trouble.empty()) {
    leave_unchecked(test, bits_trouble);
    return;
  }
  const Picture* wanted = reference(test);
  if (wanted == nullptr) return;
  PictureVerdict verdict = judge_picture(test, read_test_picture(window), *wanted);
  verdict.source = source;
  state_.results.record_picture(test.id, verdict);
  if (verdict.state == PictureVerdict::differs) {
    progress_.note(("  picture differs: " + verdict_figures(verdict)).c_str());
  }
}

void PictureChecks::finish() {
  for (const TestInfo& test : test_catalogue) {
    if (!options_.check_pictures) {
      leave_unchecked(test, "checking turned off (-nocheck)");
    } else {
      leave_unchecked(test,
                      unchecked_reason(summarize_test(options_, state_.results, test.id).status));
    }
  }
}
