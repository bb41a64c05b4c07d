#include "core/run_results.h"

#include <cstring>

void RunResults::select(const uint8_t selection[TEST_COUNT]) {
  std::memcpy(skip_flags, selection, sizeof skip_flags);
  std::memcpy(saved_skip_flags, selection, sizeof saved_skip_flags);
}

void RunResults::begin_pass() { std::memcpy(skip_flags, saved_skip_flags, sizeof skip_flags); }

void RunResults::end_pass() {
  pass_index += 1;
  if (pass_index == TIME_SLOTS) pass_index = 0;
}

const char* verdict_name(PictureVerdict::State state) {
  switch (state) {
    case PictureVerdict::ok:
      return "ok";
    case PictureVerdict::differs:
      return "differs";
    case PictureVerdict::skipped:
      return "skipped";
    case PictureVerdict::not_checked:
      break;
  }
  return "not_checked";
}
