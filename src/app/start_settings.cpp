#include "app/start_settings.h"

void reconcile_panel_flags() {
  if (run_options.test_loop) {
    run_options.status_only = 0;
    run_options.quarter = 0;
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

void apply_start_settings() {
  for (int32_t& count : repeat_counts) {
    if (run_options.quarter) count >>= 2;
    if (run_options.test_loop) count = 2;
  }
}
