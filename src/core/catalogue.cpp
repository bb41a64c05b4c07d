#include "core/catalogue.h"

#include <cstring>

namespace {

// The checks that keep the table, the two suites, the counts and the report
// groups in step; a row added in the wrong place fails the build.

constexpr bool rows_in_id_order() {
  for (int i = 0; i < TEST_COUNT; ++i) {
    if (test_catalogue[i].id != i) return false;
  }
  return true;
}
static_assert(rows_in_id_order(), "row i of test_catalogue must be TestId i");

// The 2D window runs rows FIRST_2D_TEST..LAST_2D_TEST with its kernels, the 3D
// window the rest; the report's 2D group is that range and its 3D group the
// 3D tests after swap_buffer.
constexpr bool families_in_their_ranges() {
  for (const TestInfo& test : test_catalogue) {
    const bool in_2d_range = test.id >= FIRST_2D_TEST && test.id <= LAST_2D_TEST;
    if (in_2d_range != is_2d_kernel(test.kernel)) return false;
    if (in_2d_range != (test.scene.stage == Stage::none)) return false;
  }
  return FIRST_3D_TEST == LAST_2D_TEST + 1 && LAST_3D_TEST == TEST_COUNT - 1 &&
         test_catalogue[FIRST_3D_TEST].id == test_id::swap_buffer;
}
static_assert(families_in_their_ranges(), "2D rows first, then the 3D rows from swap_buffer");

constexpr bool every_count_used() {
  for (int count = 0; count < REPEAT_COUNT_ENTRIES; ++count) {
    bool used = false;
    for (const TestInfo& test : test_catalogue) {
      used = used || static_cast<int>(test.count) == count;
    }
    if (!used) return false;
  }
  return static_cast<int>(RepeatCount::linear_texture_frames) == REPEAT_COUNT_ENTRIES - 1;
}
static_assert(every_count_used(), "each repeat count is some test's and has a default");

}  // namespace

int find_test_by_keyword(const char* keyword) {
  for (const TestInfo& info : test_catalogue) {
    if (std::strcmp(info.keyword, keyword) == 0) return info.id;
  }
  return -1;
}
