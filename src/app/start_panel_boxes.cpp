#include "app/start_panel_boxes.h"

#include <iterator>

const PanelBoxRule PANEL_BOX_RULES[platform::PANEL_BOX_COUNT] = {
    {&RunOptions::quarter, box_bit(BOX_STATUS_ONLY) | box_bit(BOX_TEST_LOOP)},
    {&RunOptions::auto_pass, box_bit(BOX_STATUS_ONLY)},
    {&RunOptions::status_only,
     box_bit(BOX_QUARTER) | box_bit(BOX_AUTO_PASS) | box_bit(BOX_TEST_LOOP)},
    {&RunOptions::test_loop, box_bit(BOX_STATUS_ONLY) | box_bit(BOX_QUARTER)},
    {&RunOptions::stop_screen_saver, 0},
};

namespace {
bool valid_box(int box) { return box >= 0 && box < static_cast<int>(std::size(PANEL_BOX_RULES)); }
}  // namespace

void click_panel_box(int box) {
  if (!valid_box(box)) return;
  const PanelBoxRule& rule = PANEL_BOX_RULES[box];
  int32_t& flag = run_options.*rule.flag;
  if (flag) {
    flag = 0;
    return;
  }
  flag = 1;
  for (int other = 0; other < static_cast<int>(std::size(PANEL_BOX_RULES)); ++other) {
    if (rule.turns_off & (1u << other)) run_options.*PANEL_BOX_RULES[other].flag = 0;
  }
}

bool panel_box_checked(int box) {
  return valid_box(box) && run_options.*PANEL_BOX_RULES[box].flag != 0;
}
