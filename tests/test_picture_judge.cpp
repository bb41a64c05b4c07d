// The picture judge's two policies, a validation run and a timed run's
// check, judge a test alike where its picture cannot be judged.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/progress_title.h"
#include "judge/picture_checks.h"
#include "judge/validation.h"

namespace {

// A window never read back: every case here is settled before a picture is.
class UnreadWindow final : public TestWindow {
 public:
  void set_title(const char*) override {}
  void swap_buffers() override {}

 protected:
  bool double_buffered() const override { return true; }
};

struct Bits {
  int red, green, blue;
};

void set_bits(EnvironmentInfo& info, Bits window_3d, Bits window_2d) {
  info.red_bits_3d = window_3d.red;
  info.green_bits_3d = window_3d.green;
  info.blue_bits_3d = window_3d.blue;
  info.red_bits_2d = window_2d.red;
  info.green_bits_2d = window_2d.green;
  info.blue_bits_2d = window_2d.blue;
}

class PictureJudgePolicies : public ::testing::Test {
 protected:
  // An empty reference folder: a test whose colour depth passes finds no
  // reference, and neither policy reads its picture back for it.
  void SetUp() override {
    char name[] = "/tmp/tarvelin-references-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
    setenv("TARVELIN_REFERENCES", name, 1);
  }
  void TearDown() override {
    unsetenv("TARVELIN_REFERENCES");
    std::filesystem::remove_all(folder);
  }

  // The verdict each policy records for the test, validation's first.
  std::pair<PictureVerdict, PictureVerdict> verdicts(TestId id, Bits window_3d, Bits window_2d) {
    RunOptions options;
    RunState validated, timed;
    set_bits(validated.environment_info, window_3d, window_2d);
    set_bits(timed.environment_info, window_3d, window_2d);
    ProgressTitle progress{options};
    UnreadWindow window;
    Validation(options, validated, progress).check(test_catalogue[id], window);
    PictureChecks(options, timed, progress)
        .check(test_catalogue[id], window, PictureSource::check_frame);
    return {validated.results.verdicts[id], timed.results.verdicts[id]};
  }

  std::string folder;
};

TEST_F(PictureJudgePolicies, AWindowWithoutEightBitsAColourIsNotChecked) {
  const Bits eight{8, 8, 8};
  for (const Bits bits : {Bits{5, 8, 8}, Bits{8, 6, 8}, Bits{8, 8, 5}, Bits{10, 10, 10}}) {
    const std::string reason = "the window has " + std::to_string(bits.red) + "-" +
                               std::to_string(bits.green) + "-" + std::to_string(bits.blue) +
                               "-bit colour; the references have 8 bits a colour";
    for (const auto& [id, window_3d, window_2d] :
         {std::tuple{test_id::lines, bits, eight}, std::tuple{test_id::put_copy, eight, bits}}) {
      const auto [validated, timed] = verdicts(id, window_3d, window_2d);
      for (const PictureVerdict& verdict : {validated, timed}) {
        EXPECT_EQ(verdict.state, PictureVerdict::not_checked) << reason;
        EXPECT_EQ(verdict.reason, reason);
        EXPECT_FALSE(verdict.no_reference) << reason;
      }
    }
  }
}

TEST_F(PictureJudgePolicies, EachWindowsOwnDepthCounts) {
  // The 2D window's depth says nothing of a 3D test, and the other way
  // round: each is judged on to its (missing) reference.
  const Bits eight{8, 8, 8}, low{5, 6, 5};
  for (const auto& [id, window_3d, window_2d] :
       {std::tuple{test_id::lines, eight, low}, std::tuple{test_id::put_copy, low, eight}}) {
    RunOptions options;
    RunState state;
    set_bits(state.environment_info, window_3d, window_2d);
    ProgressTitle progress{options};
    UnreadWindow window;
    PictureChecks(options, state, progress)
        .check(test_catalogue[id], window, PictureSource::check_frame);
    const PictureVerdict& verdict = state.results.verdicts[id];
    EXPECT_EQ(verdict.reason, "no reference " + folder + "/" + test_catalogue[id].keyword + ".png");
    EXPECT_TRUE(verdict.no_reference);
  }
}

}  // namespace
