#include "judge/picture_checks.h"

#include "report/statistics.h"

namespace {

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

void PictureChecks::check(const TestInfo& test, const TestWindow& window, PictureSource source) {
  const Judgement judged = judge_.judge(test, window, state_.environment_info, source);
  PictureJudge::record(state_.results, test.id, judged.verdict);
  if (judged.verdict.state == PictureVerdict::differs) {
    progress_.note(("  picture differs: " + verdict_figures(judged.verdict)).c_str());
  }
}

void PictureChecks::finish() {
  for (const TestInfo& test : test_catalogue) {
    const char* reason =
        options_.check_pictures
            ? unchecked_reason(summarize_test(options_, state_.results, test.id).status)
            : "checking turned off (-nocheck)";
    PictureJudge::record(state_.results, test.id, PictureJudge::not_checked(reason));
  }
}
