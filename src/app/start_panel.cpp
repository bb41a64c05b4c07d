#include "app/start_panel.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "core/picture.h"
#include "core/printable.h"

namespace {

constexpr uint32_t box_bit(PanelBox box) { return 1u << box; }

struct PanelBoxRule {
  bool RunOptions::*flag;
  uint32_t turns_off;  // box_bit of every box whose flag goes off when this one goes on
};

constexpr PanelBoxRule PANEL_BOX_RULES[platform::PANEL_BOX_COUNT] = {
    {&RunOptions::quarter, box_bit(BOX_STATUS_ONLY) | box_bit(BOX_TEST_LOOP)},
    {&RunOptions::auto_pass, box_bit(BOX_STATUS_ONLY)},
    {&RunOptions::status_only,
     box_bit(BOX_QUARTER) | box_bit(BOX_AUTO_PASS) | box_bit(BOX_TEST_LOOP)},
    {&RunOptions::test_loop, box_bit(BOX_STATUS_ONLY) | box_bit(BOX_QUARTER)},
    {&RunOptions::stop_screen_saver, 0},
};

bool valid_box(int box) { return box >= 0 && box < static_cast<int>(std::size(PANEL_BOX_RULES)); }

static_assert(PICTURE_SIZE == 2 * platform::PANEL_LOGO_SIZE);

}  // namespace

bool StartPanel::box_checked(int box) const {
  return valid_box(box) && options_.*PANEL_BOX_RULES[box].flag;
}

void StartPanel::box_clicked(int box) {
  if (!valid_box(box)) return;
  const PanelBoxRule& rule = PANEL_BOX_RULES[box];
  bool& flag = options_.*rule.flag;
  if (flag) {
    flag = false;
    return;
  }
  flag = true;
  for (int other = 0; other < static_cast<int>(std::size(PANEL_BOX_RULES)); ++other) {
    if (rule.turns_off & (1u << other)) options_.*PANEL_BOX_RULES[other].flag = false;
  }
}

bool StartPanel::warning_line(char* text, int size) const {
  if (!state_.pass_file_missing) return false;
  std::snprintf(text, size, "Warning: Not opened %s", printable(options_.pass_file).c_str());
  return true;
}

void StartPanel::start(const platform::WindowRect& client) {
  const platform::Size screen = platform::screen_size();
  press_start(client, screen.width, screen.height);
}

void StartPanel::press_start(ScreenRect client, int32_t screen_width, int32_t screen_height) {
  state_.window_rect = clamp_to_screen(client, screen_width, screen_height);
  apply_start_settings(options_, state_.counts);
  state_.start_pressed = true;
}

void StartPanel::show() {
  // The panel makes its own copy as it opens.
  std::vector<uint8_t> logo(PANEL_LOGO_BYTES);
  make_panel_logo(logo.data());
  platform::run_start_panel(PANEL_RECT, WINDOW_TITLE, logo.data(), *this);
}

void reconcile_panel_flags(RunOptions& options) {
  if (options.test_loop) {
    options.status_only = false;
    options.quarter = false;
  }
}

ScreenRect clamp_to_screen(ScreenRect rect, int32_t screen_width, int32_t screen_height) {
  if (rect.left < 0) {
    rect.right -= rect.left;
    rect.left = 0;
  }
  if (rect.top < 0) {
    rect.bottom -= rect.top;
    rect.top = 0;
  }
  if (rect.right >= screen_width) {
    const int32_t shift = rect.right - screen_width + 1;
    rect.left -= shift;
    rect.right -= shift;
  }
  if (rect.bottom >= screen_height) {
    const int32_t shift = rect.bottom - screen_height + 1;
    rect.top -= shift;
    rect.bottom -= shift;
  }
  return rect;
}

void apply_start_settings(const RunOptions& options, RepeatCounts& counts) {
  for (int32_t& count : counts.repeat_counts) {
    if (options.quarter) count >>= 2;
    if (options.test_loop || options.validating()) count = TEST_LOOP_COUNT;
  }
}

void make_panel_logo(uint8_t logo[PANEL_LOGO_BYTES]) {
  constexpr int SIZE = platform::PANEL_LOGO_SIZE;
  for (int y = 0; y < SIZE; ++y) {
    const unsigned char* row = &source_image[std::size_t{4} * PICTURE_SIZE * 2 * (SIZE - 1 - y)];
    for (int x = 0; x < SIZE; ++x) {
      std::memcpy(&logo[(y * SIZE + x) * 3], &row[2 * x * 4], 3);
    }
  }
}
