// The start panel's rules: what a click on a box, an edit of a field and
// START do to the settings, and the logo taken from the picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "app/start_panel.h"
#include "core/picture.h"
#include "core/run_options.h"
#include "core/run_state.h"

namespace {

using platform::FieldEvent;
using platform::PanelField;

struct Outcome {
  bool rewritten;
  std::string shown;  // what the field shows afterwards
};

std::string bits_of(int state) {
  std::string bits;
  for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) bits += (state >> box) & 1 ? '1' : '0';
  return bits;
}

// A panel on settings and a run state of the test's own.
class StartPanelTest : public ::testing::Test {
 protected:
  RunOptions run_options;
  RunState run_state;
  StartPanel panel{run_options, run_state};

  // The flags in box order as a string of 0 and 1, e.g. "01001" by default.
  std::string flags() const {
    std::string text;
    for (int box = 0; box < platform::PANEL_BOX_COUNT; ++box) {
      text += panel.box_checked(box) ? '1' : '0';
    }
    return text;
  }

  void set_flags(const std::string& bits) {
    run_options.quarter = bits[0] - '0';
    run_options.auto_pass = bits[1] - '0';
    run_options.status_only = bits[2] - '0';
    run_options.test_loop = bits[3] - '0';
    run_options.stop_screen_saver = bits[4] - '0';
  }

  void click_panel_box(int box) { panel.box_clicked(box); }

  Outcome type_into(PanelField field, FieldEvent event, const std::string& text) {
    char buffer[platform::PANEL_TEXT_SIZE] = {};
    std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
    const bool rewritten = panel.field_changed(field, event, buffer);
    return {rewritten, rewritten ? std::string(buffer) : text};
  }

  std::string opening_text(PanelField field) const {
    char buffer[platform::PANEL_TEXT_SIZE];
    panel.field_text(field, buffer);
    return buffer;
  }
};

TEST_F(StartPanelTest, TurningABoxOnTurnsOffTheBoxesItRulesOut) {
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

TEST_F(StartPanelTest, TurningABoxOffChangesNoOtherFlag) {
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

TEST_F(StartPanelTest, NoClickLeavesTwoExcludingBoxesOn) {
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

TEST_F(StartPanelTest, StatusThenTestLoopDoesNotBringTheOthersBack) {
  set_flags("11011");
  click_panel_box(BOX_STATUS_ONLY);
  EXPECT_EQ(flags(), "00101");
  click_panel_box(BOX_TEST_LOOP);
  EXPECT_EQ(flags(), "00011");
}

TEST_F(StartPanelTest, OpenWithTheSettings) {
  EXPECT_EQ(opening_text(PanelField::loops), "1");
  EXPECT_EQ(opening_text(PanelField::report_file), "result.tvl");
  EXPECT_EQ(opening_text(PanelField::pass_file), "pass.def");
  run_options.loops = -1;
  EXPECT_EQ(opening_text(PanelField::loops), "-1");
}

TEST_F(StartPanelTest, LoopDigitsSetTheCountAndFocusLossTidiesThem) {
  Outcome o = type_into(PanelField::loops, FieldEvent::edited, "007");
  EXPECT_EQ(run_options.loops, 7);
  EXPECT_FALSE(o.rewritten) << "a keystroke leaves the digits as typed";
  o = type_into(PanelField::loops, FieldEvent::focus_lost, "007");
  EXPECT_TRUE(o.rewritten);
  EXPECT_EQ(o.shown, "7");
  o = type_into(PanelField::loops, FieldEvent::focus_lost, "12");
  EXPECT_FALSE(o.rewritten) << "nothing to tidy";
  EXPECT_EQ(run_options.loops, 12);
}

TEST_F(StartPanelTest, ALoopTextWithAnyOtherCharacterIsRefused) {
  type_into(PanelField::loops, FieldEvent::edited, "3");
  for (const char* typed : {"3x", "x3", "-3", "3 ", "+3", "3.0"}) {
    for (FieldEvent event : {FieldEvent::edited, FieldEvent::focus_lost}) {
      const Outcome o = type_into(PanelField::loops, event, typed);
      EXPECT_TRUE(o.rewritten) << typed;
      EXPECT_EQ(o.shown, "3") << typed;
      EXPECT_EQ(run_options.loops, 3) << typed;
    }
  }
}

TEST_F(StartPanelTest, AnEmptyLoopFieldGivesZeroAndStaysEmpty) {
  for (FieldEvent event : {FieldEvent::edited, FieldEvent::focus_lost}) {
    run_options.loops = 5;
    const Outcome o = type_into(PanelField::loops, event, "");
    EXPECT_FALSE(o.rewritten);
    EXPECT_EQ(run_options.loops, 0);
  }
}

TEST_F(StartPanelTest, AnEndlessCountFromTheCommandLineShowsAndStays) {
  run_options.loops = -1;
  for (FieldEvent event : {FieldEvent::edited, FieldEvent::focus_lost}) {
    const Outcome o = type_into(PanelField::loops, event, "-1");
    EXPECT_FALSE(o.rewritten) << "the panel's own text must not be refused again and again";
    EXPECT_EQ(run_options.loops, -1);
  }
  const Outcome o = type_into(PanelField::loops, FieldEvent::edited, "-1a");
  EXPECT_EQ(o.shown, "-1");
  EXPECT_EQ(run_options.loops, -1);
}

TEST_F(StartPanelTest, AHugeLoopCountSaturatesInsteadOfTurningEndless) {
  type_into(PanelField::loops, FieldEvent::edited, std::string(255, '9'));
  EXPECT_EQ(run_options.loops, INT32_MAX);
  type_into(PanelField::loops, FieldEvent::edited, "2147483648");
  EXPECT_EQ(run_options.loops, INT32_MAX);
  type_into(PanelField::loops, FieldEvent::edited, "2147483647");
  EXPECT_EQ(run_options.loops, INT32_MAX);
}

TEST_F(StartPanelTest, TheResultFieldIsTheReportNameAndEmptyMeansTheDefault) {
  Outcome o = type_into(PanelField::report_file, FieldEvent::edited, "mine.tvl");
  EXPECT_FALSE(o.rewritten);
  EXPECT_EQ(run_options.report_file, "mine.tvl");
  o = type_into(PanelField::report_file, FieldEvent::edited, "");
  EXPECT_FALSE(o.rewritten) << "the field may be empty while it is edited";
  EXPECT_EQ(run_options.report_file, "");
  o = type_into(PanelField::report_file, FieldEvent::focus_lost, "");
  EXPECT_TRUE(o.rewritten);
  EXPECT_EQ(o.shown, "result.tvl");
  EXPECT_EQ(run_options.report_file, "result.tvl");
  o = type_into(PanelField::report_file, FieldEvent::focus_lost, "other.tvl");
  EXPECT_FALSE(o.rewritten);
  EXPECT_EQ(run_options.report_file, "other.tvl");
}

TEST_F(StartPanelTest, NamesKeepAll255Characters) {
  const std::string name(255, 'n');
  type_into(PanelField::report_file, FieldEvent::focus_lost, name);
  EXPECT_EQ(std::string(run_options.report_file), name);
  type_into(PanelField::pass_file, FieldEvent::edited, name);
  EXPECT_EQ(std::string(run_options.pass_file), name);
}

class PassField : public StartPanelTest {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/tarvelin_panel_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    folder_ = folder;
    existing_ = folder_ + "/here.def";
    FILE* file = std::fopen(existing_.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
  }
  void TearDown() override {
    std::remove(existing_.c_str());
    rmdir(folder_.c_str());
  }
  std::string warning() const {
    char line[300];
    return panel.warning_line(line, sizeof line) ? line : "";
  }
  std::string folder_;
  std::string existing_;
};

TEST_F(PassField, TheWarningFollowsEveryKeystroke) {
  type_into(PanelField::pass_file, FieldEvent::edited, folder_ + "/her");
  EXPECT_TRUE(run_state.pass_file_missing);
  EXPECT_EQ(warning(), "Warning: Not opened " + folder_ + "/her");
  const Outcome o = type_into(PanelField::pass_file, FieldEvent::edited, existing_);
  EXPECT_FALSE(o.rewritten);
  EXPECT_EQ(run_options.pass_file, existing_.c_str());
  EXPECT_FALSE(run_state.pass_file_missing);
  EXPECT_EQ(warning(), "");
}

TEST_F(PassField, AnEmptyNameShowsNoWarning) {
  run_state.pass_file_missing = true;
  type_into(PanelField::pass_file, FieldEvent::edited, "");
  EXPECT_FALSE(run_state.pass_file_missing);
  EXPECT_EQ(warning(), "");
}

TEST_F(StartPanelTest, StartFixesTheWindowAndTheRepeatCounts) {
  run_options.quarter = true;
  panel.press_start({-20, 30, 492, 414}, 1024, 768);
  EXPECT_TRUE(run_state.start_pressed);
  EXPECT_EQ(run_state.window_rect.left, 0);
  EXPECT_EQ(run_state.window_rect.top, 30);
  EXPECT_EQ(run_state.window_rect.right, 512);
  EXPECT_EQ(run_state.window_rect.bottom, 414);
  EXPECT_EQ(run_state.counts[RepeatCount::puts], 250);
  EXPECT_EQ(run_state.counts[RepeatCount::swaps], 500);
}

TEST_F(StartPanelTest, DefaultCountsStayAsTheyAre) {
  apply_start_settings(run_options, run_state.counts);
  const int32_t expected[] = {1000, 1000, 128, 2000, 100, 500, 500, 64, 500, 300, 300};
  EXPECT_TRUE(
      std::equal(std::begin(expected), std::end(expected), run_state.counts.repeat_counts.begin()));
}

TEST_F(StartPanelTest, QuarterModeDividesByFourRoundingDown) {
  run_options.quarter = true;
  apply_start_settings(run_options, run_state.counts);
  const int32_t expected[] = {250, 250, 32, 500, 25, 125, 125, 16, 125, 75, 75};
  EXPECT_TRUE(
      std::equal(std::begin(expected), std::end(expected), run_state.counts.repeat_counts.begin()));
}

TEST_F(StartPanelTest, TestLoopSetsEveryCountToTwo) {
  run_options.quarter = true;
  run_options.test_loop = true;
  apply_start_settings(run_options, run_state.counts);
  for (int32_t count : run_state.counts.repeat_counts) EXPECT_EQ(count, 2);
}

TEST_F(StartPanelTest, TestLoopRulesOutStatusOnlyAndQuarter) {
  run_options.test_loop = true;
  run_options.status_only = true;
  run_options.quarter = true;
  reconcile_panel_flags(run_options);
  EXPECT_EQ(run_options.status_only, 0);
  EXPECT_EQ(run_options.quarter, 0);
  run_options = RunOptions{};
  run_options.status_only = true;
  run_options.quarter = true;
  reconcile_panel_flags(run_options);
  EXPECT_EQ(run_options.status_only, 1) << "only test-loop mode reconciles";
  EXPECT_EQ(run_options.quarter, 1);
}

TEST(WindowRect, InsideTheScreenIsKept) {
  const ScreenRect r = clamp_to_screen({50, 50, 562, 434}, 1280, 1024);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 562);
  EXPECT_EQ(r.bottom, 434);
}

TEST(WindowRect, OffTheLeftAndTopEdgesMovesToZeroKeepingSize) {
  const ScreenRect r = clamp_to_screen({-30, -10, 482, 374}, 1280, 1024);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 512);
  EXPECT_EQ(r.bottom, 384);
}

TEST(WindowRect, OffTheRightAndBottomEdgesEndsAtTheLastPixel) {
  const ScreenRect r = clamp_to_screen({1000, 900, 1512, 1284}, 1280, 1024);
  EXPECT_EQ(r.right, 1279);
  EXPECT_EQ(r.left, 767);
  EXPECT_EQ(r.bottom, 1023);
  EXPECT_EQ(r.top, 639);
}

TEST(PanelLogo, IsThePictureAtHalfSizeUpright) {
  static uint8_t logo[PANEL_LOGO_BYTES];
  make_panel_logo(logo);
  auto picture = [](int column, int row_from_bottom) {
    return &source_image[(row_from_bottom * PICTURE_SIZE + column) * 4];
  };
  auto logo_pixel = [](int x, int y) { return &logo[(y * 128 + x) * 3]; };
  // The logo's top left comes from near the picture's last (top) row.
  const int points[][2] = {{0, 0}, {127, 0}, {0, 127}, {127, 127}, {40, 90}};
  for (const auto& p : points) {
    const int x = p[0];
    const int y = p[1];
    EXPECT_EQ(0, std::memcmp(logo_pixel(x, y), picture(2 * x, 2 * (127 - y)), 3))
        << "logo pixel " << x << "," << y;
  }
  EXPECT_NE(0, std::memcmp(logo_pixel(0, 0), logo_pixel(0, 127), 3))
      << "the corners above must tell upright from upside down";
}

}  // namespace
