// The panel's fields and START: what an edit, a focus loss and the button
// do to the settings, and the logo taken from the picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/start_panel.h"
#include "app/start_panel_fields.h"
#include "app/start_panel_logo.h"
#include "core/picture.h"
#include "core/run_options.h"

namespace {

using platform::FieldEvent;
using platform::PanelField;

struct Outcome {
  bool rewritten;
  std::string shown;  // what the field shows afterwards
};

Outcome type_into(PanelField field, FieldEvent event, const std::string& text) {
  char buffer[FILE_NAME_SIZE] = {};
  std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
  const bool rewritten = panel_field_changed(field, event, buffer);
  return {rewritten, rewritten ? std::string(buffer) : text};
}

std::string opening_text(PanelField field) {
  char buffer[FILE_NAME_SIZE];
  panel_field_text(field, buffer);
  return buffer;
}

class PanelFields : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    run_options = RunOptions{};
    run_state = RunState{};
  }
};

TEST_F(PanelFields, OpenWithTheSettings) {
  EXPECT_EQ(opening_text(PanelField::loops), "1");
  EXPECT_EQ(opening_text(PanelField::result_file), "result.tvl");
  EXPECT_EQ(opening_text(PanelField::pass_file), "pass.def");
  run_options.loops = -1;
  EXPECT_EQ(opening_text(PanelField::loops), "-1");
}

TEST_F(PanelFields, LoopDigitsSetTheCountAndFocusLossTidiesThem) {
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

TEST_F(PanelFields, ALoopTextWithAnyOtherCharacterIsRefused) {
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

TEST_F(PanelFields, AnEmptyLoopFieldGivesZeroAndStaysEmpty) {
  for (FieldEvent event : {FieldEvent::edited, FieldEvent::focus_lost}) {
    run_options.loops = 5;
    const Outcome o = type_into(PanelField::loops, event, "");
    EXPECT_FALSE(o.rewritten);
    EXPECT_EQ(run_options.loops, 0);
  }
}

TEST_F(PanelFields, AnEndlessCountFromTheCommandLineShowsAndStays) {
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

TEST_F(PanelFields, AHugeLoopCountSaturatesInsteadOfTurningEndless) {
  type_into(PanelField::loops, FieldEvent::edited, std::string(255, '9'));
  EXPECT_EQ(run_options.loops, INT32_MAX);
  type_into(PanelField::loops, FieldEvent::edited, "2147483648");
  EXPECT_EQ(run_options.loops, INT32_MAX);
  type_into(PanelField::loops, FieldEvent::edited, "2147483647");
  EXPECT_EQ(run_options.loops, INT32_MAX);
}

TEST_F(PanelFields, TheResultFieldIsTheReportNameAndEmptyMeansTheDefault) {
  Outcome o = type_into(PanelField::result_file, FieldEvent::edited, "mine.tvl");
  EXPECT_FALSE(o.rewritten);
  EXPECT_STREQ(run_options.result_file, "mine.tvl");
  o = type_into(PanelField::result_file, FieldEvent::edited, "");
  EXPECT_FALSE(o.rewritten) << "the field may be empty while it is edited";
  EXPECT_STREQ(run_options.result_file, "");
  o = type_into(PanelField::result_file, FieldEvent::focus_lost, "");
  EXPECT_TRUE(o.rewritten);
  EXPECT_EQ(o.shown, "result.tvl");
  EXPECT_STREQ(run_options.result_file, "result.tvl");
  o = type_into(PanelField::result_file, FieldEvent::focus_lost, "other.tvl");
  EXPECT_FALSE(o.rewritten);
  EXPECT_STREQ(run_options.result_file, "other.tvl");
}

TEST_F(PanelFields, NamesKeepAll255Characters) {
  const std::string name(255, 'n');
  type_into(PanelField::result_file, FieldEvent::focus_lost, name);
  EXPECT_EQ(std::string(run_options.result_file), name);
  type_into(PanelField::pass_file, FieldEvent::edited, name);
  EXPECT_EQ(std::string(run_options.pass_file), name);
}

class PassField : public PanelFields {
 protected:
  void SetUp() override {
    PanelFields::SetUp();
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
    PanelFields::TearDown();
  }
  static std::string warning() {
    char line[300];
    return panel_warning_line(line, sizeof line) ? line : "";
  }
  std::string folder_;
  std::string existing_;
};

TEST_F(PassField, TheWarningFollowsEveryKeystroke) {
  type_into(PanelField::pass_file, FieldEvent::edited, folder_ + "/her");
  EXPECT_NE(run_state.pass_file_missing, 0);
  EXPECT_EQ(warning(), "Warning: Not opened " + folder_ + "/her");
  const Outcome o = type_into(PanelField::pass_file, FieldEvent::edited, existing_);
  EXPECT_FALSE(o.rewritten);
  EXPECT_STREQ(run_options.pass_file, existing_.c_str());
  EXPECT_EQ(run_state.pass_file_missing, 0);
  EXPECT_EQ(warning(), "");
}

TEST_F(PassField, AnEmptyNameShowsNoWarning) {
  run_state.pass_file_missing = -1;
  type_into(PanelField::pass_file, FieldEvent::edited, "");
  EXPECT_EQ(run_state.pass_file_missing, 0);
  EXPECT_EQ(warning(), "");
}

TEST_F(PanelFields, StartFixesTheWindowAndTheRepeatCounts) {
  run_options.quarter = 1;
  press_start({-20, 30, 492, 414}, 1024, 768);
  EXPECT_EQ(run_state.start_pressed, 1);
  EXPECT_EQ(run_state.window_rect.left, 0);
  EXPECT_EQ(run_state.window_rect.top, 30);
  EXPECT_EQ(run_state.window_rect.right, 512);
  EXPECT_EQ(run_state.window_rect.bottom, 414);
  EXPECT_EQ(repeat_counts[0], 250);
  EXPECT_EQ(repeat_counts[3], 500);
  std::memcpy(repeat_counts, DEFAULT_REPEAT_COUNTS, sizeof repeat_counts);
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
