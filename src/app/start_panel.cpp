#include "app/start_panel.h"

#include <cstdio>

#include "app/start_panel_boxes.h"
#include "app/start_panel_fields.h"
#include "app/start_panel_logo.h"
#include "app/start_settings.h"
#include "platform/platform.h"

namespace {

using platform::FieldEvent;
using platform::PanelField;

class RunOptionsRules final : public platform::PanelRules {
 public:
  bool box_checked(int box) const override { return panel_box_checked(box); }
  void box_clicked(int box) override { click_panel_box(box); }
  void field_text(PanelField field, char text[platform::PANEL_TEXT_SIZE]) const override {
    panel_field_text(field, text);
  }
  bool field_changed(PanelField field, FieldEvent event,
                     char text[platform::PANEL_TEXT_SIZE]) override {
    return panel_field_changed(field, event, text);
  }
  bool warning_line(char* text, int size) const override { return panel_warning_line(text, size); }
  void start(const platform::WindowRect& client) override {
    const platform::Size screen = platform::screen_size();
    press_start({client.left, client.top, client.right, client.bottom}, screen.width,
                screen.height);
  }
};

uint8_t panel_logo[PANEL_LOGO_BYTES];

}  // namespace

void press_start(ScreenRect client, int32_t screen_width, int32_t screen_height) {
  run_state.window_rect = clamp_to_screen(client, screen_width, screen_height);
  apply_start_settings();
  run_state.start_pressed = 1;
}

void show_start_panel() {
  char title[64];
  std::snprintf(title, sizeof title, "Tarvelin %s", VERSION_TEXT);
  make_panel_logo(panel_logo);
  RunOptionsRules rules;
  const platform::WindowRect rect{PANEL_RECT.left, PANEL_RECT.top, PANEL_RECT.right,
                                  PANEL_RECT.bottom};
  platform::run_start_panel(rect, title, panel_logo, rules);
}
