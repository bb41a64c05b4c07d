#include "core/run_results.h"

#include <cstdio>
#include <cstring>

#include "core/result_fields.h"

void RunResults::select(const uint8_t selection[TEST_COUNT]) {
  std::memcpy(skip_flags, selection, sizeof skip_flags);
  std::memcpy(saved_skip_flags, selection, sizeof saved_skip_flags);
}

void RunResults::begin_pass() { std::memcpy(skip_flags, saved_skip_flags, sizeof skip_flags); }

void RunResults::end_pass() {
  pass_index += 1;
  if (pass_index == TIME_SLOTS) pass_index = 0;
}

void RunResults::record_picture(TestId id, const PictureVerdict& pass) {
  PictureVerdict& verdict = verdicts[id];
  const int checked = verdict.passes_checked + 1;
  const bool differs = pass.state == PictureVerdict::differs;
  const bool differed = verdict.state == PictureVerdict::differs;
  const bool worse = verdict.passes_checked == 0 || (differs && !differed) ||
                     (differs == differed && pass.share_beyond > verdict.share_beyond);
  const int differing = verdict.passes_differing + (differs ? 1 : 0);
  if (worse) verdict = pass;
  verdict.passes_checked = checked;
  verdict.passes_differing = differing;
}

static_assert(PICTURE_RESULT_NAMES.size() == PictureVerdict::skipped + 1);
const char* verdict_name(PictureVerdict::State state) {
  return PICTURE_RESULT_NAMES[static_cast<size_t>(state)];
}

std::string verdict_figures(const PictureVerdict& verdict) {
  char text[128];
  std::snprintf(text, sizeof text, "%.3f%% of pixels beyond %d (%.3f%% allowed), largest %d",
                100.0 * verdict.share_beyond, verdict.channel_threshold,
                100.0 * verdict.allowed_share, verdict.largest);
  return text;
}
