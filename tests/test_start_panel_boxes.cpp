// The panel's check boxes: what a click does to the five flags.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/start_panel_boxes.h"
#include "core/run_options.h"

namespace {

// The flags in box order as a string of 0 and 1, e.g. "01001" by default.
std::string flags() {
  std::string text;
  for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) {
    text += panel_box_checked(box) ? '1' : '0';
  }
  return text;
}

std::string bits_of(int state) {
  std::string bits;
  for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) bits += (state >> box) & 1 ? '1' : '0';
  return bits;
}

void set_flags(const std::string& bits) {
  run_options.quarter = bits[0] - '0';
  run_options.auto_pass = bits[1] - '0';
  run_options.status_only = bits[2] - '0';
  run_options.test_loop = bits[3] - '0';
  run_options.stop_screen_saver = bits[4] - '0';
}

class PanelBoxes : public ::testing::Test {
 protected:
  void SetUp() override { run_options = RunOptions{}; }
  void TearDown() override { run_options = RunOptions{}; }
};

TEST_F(PanelBoxes, TurningABoxOnTurnsOffTheBoxesItRulesOut) {
  // box clicked, flags before, flags after
  const struct {
    PanelBox box;
    const char* before;
    const char* after;
  } cases[] = {
      {BOX_QUARTER, "01111", "11001"},           {BOX_AUTO_PASS, "10111", "11011"},
      {BOX_STATUS_ONLY, "11011", "00101"},       {BOX_TEST_LOOP, "11101", "01011"},
      {BOX_STOP_SCREEN_SAVER, "11110", "11111"},
  };
  for (const auto& c : cases) {
    set_flags(c.before);
    click_panel_box(c.box);
    EXPECT_EQ(flags(), c.after) << "box " << c.box << " from " << c.before;
  }
}

TEST_F(PanelBoxes, TurningABoxOffChangesNoOtherFlag) {
  for (int state = 0; state < 32; ++state) {
    for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) {
      if (!(state & (1 << box))) continue;
      const std::string before = bits_of(state);
      set_flags(before);
      click_panel_box(box);
      std::string expected = before;
      expected[box] = '0';
      EXPECT_EQ(flags(), expected) << "box " << box << " from " << before;
    }
  }
}

TEST_F(PanelBoxes, NoClickLeavesTwoExcludingBoxesOn) {
  const std::pair<PanelBox, PanelBox> excluding[] = {{BOX_QUARTER, BOX_STATUS_ONLY},
                                                     {BOX_QUARTER, BOX_TEST_LOOP},
                                                     {BOX_AUTO_PASS, BOX_STATUS_ONLY},
                                                     {BOX_STATUS_ONLY, BOX_TEST_LOOP}};
  // From every consistent state, every click must stay consistent.
  for (int state = 0; state < 32; ++state) {
    auto on = [&](int box) { return (state >> box) & 1; };
    bool consistent = true;
    for (const auto& [a, b] : excluding) consistent = consistent && !(on(a) && on(b));
    if (!consistent) continue;
    for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) {
      const std::string before = bits_of(state);
      set_flags(before);
      click_panel_box(box);
      const std::string after = flags();
      for (const auto& [a, b] : excluding) {
        EXPECT_FALSE(after[a] == '1' && after[b] == '1')
            << "box " << box << " from " << before << " gave " << after;
      }
    }
  }
}

TEST_F(PanelBoxes, StatusThenTestLoopDoesNotBringTheOthersBack) {
  set_flags("11011");
  click_panel_box(BOX_STATUS_ONLY);
  EXPECT_EQ(flags(), "00101");
  click_panel_box(BOX_TEST_LOOP);
  EXPECT_EQ(flags(), "00011");
}

}  // namespace
