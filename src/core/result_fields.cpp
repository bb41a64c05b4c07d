#include "core/result_fields.h"

namespace {

constexpr const char* STATUS_NAMES[] = {"timed", "skipped_by_check", "left_out", "not_run",
                                        "skipped_off_screen"};
static_assert(std::size(STATUS_NAMES) == static_cast<size_t>(TestStatus::skipped_off_screen) + 1);

}  // namespace

const char* test_status_name(TestStatus status) {
  return STATUS_NAMES[static_cast<size_t>(status)];
}

std::optional<TestStatus> test_status_named(std::string_view name) {
  for (size_t i = 0; i < std::size(STATUS_NAMES); ++i) {
    if (name == STATUS_NAMES[i]) return static_cast<TestStatus>(i);
  }
  return std::nullopt;
}
