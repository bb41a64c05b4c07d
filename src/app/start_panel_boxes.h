// What a click on one of the panel's five check boxes does to run_options.
#pragma once

#include <cstdint>

#include "core/run_options.h"
#include "platform/platform.h"

// In the panel's order, top to bottom.
enum PanelBox : int {
  BOX_QUARTER,
  BOX_AUTO_PASS,
  BOX_STATUS_ONLY,
  BOX_TEST_LOOP,
  BOX_STOP_SCREEN_SAVER,
};

constexpr uint32_t box_bit(PanelBox box) { return 1u << box; }

struct PanelBoxRule {
  int32_t RunOptions::*flag;
  uint32_t turns_off;  // box_bit of every box whose flag goes off when this one goes on
};

extern const PanelBoxRule PANEL_BOX_RULES[platform::PANEL_BOX_COUNT];

// A box whose flag is set clears it, touching no other flag; a box whose flag
// is clear sets it and clears the flags that it rules out.
void click_panel_box(int box);

// Whether the box shows a check mark: its flag is set.
bool panel_box_checked(int box);
