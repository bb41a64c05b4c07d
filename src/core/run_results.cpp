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
