// The start panel's rules: what its five boxes and three fields do to the
// settings, the warning it shows, and what pressing START fixes before the
// first pass. The panel itself (platform::run_start_panel) keeps no settings:
// it asks these rules what to show and tells them every action of the user.
#pragma once

#include <cstdint>

#include "core/run_options.h"
#include "core/run_state.h"
#include "platform/platform.h"

static_assert(platform::PANEL_TEXT_SIZE == FILE_NAME_MAX + 1);

// The panel's client area at start: 512 x 384 at screen position 50, 50.
constexpr ScreenRect PANEL_RECT = {50, 50, 562, 434};

// The check boxes in the panel's order, top to bottom.
enum PanelBox : int {
  BOX_QUARTER,
  BOX_AUTO_PASS,
  BOX_STATUS_ONLY,
  BOX_TEST_LOOP,
  BOX_STOP_SCREEN_SAVER,
};

constexpr int PANEL_LOGO_BYTES = platform::PANEL_LOGO_SIZE * platform::PANEL_LOGO_SIZE * 3;

class StartPanel final : public platform::PanelRules {
 public:
  StartPanel(RunOptions& options, RunState& state) : options_(options), state_(state) {}

  // A box whose flag is set clears it, touching no other flag; a box whose
  // flag is clear sets it and clears the flags that it rules out. A box
  // shows a check mark while its flag is set.
  bool box_checked(int box) const override;
  void box_clicked(int box) override;

  // The text a field shows when the panel opens: loops as "%d",
  // report_file, pass_file.
  void field_text(platform::PanelField field, char text[platform::PANEL_TEXT_SIZE]) const override;

  // Applies the field's text after an edit or a focus loss. Returns true
  // when it overwrote text with what the field must show instead, false
  // when the field keeps what it shows. Texts are at most 255 characters.
  //   loops: digits only set loops to their value (an empty text gives 0
  //     and stays empty); on focus loss the value is shown again as "%d".
  //     Any other text is refused: loops is kept and shown again as "%d",
  //     which a negative loops from the command line survives unchanged.
  //   report_file: the text becomes report_file; on focus loss an empty one
  //     is reset to the default and the field shows report_file.
  //   pass_file: the text becomes pass_file and pass_file_missing is set
  //     from a read-access test (0 for an empty name).
  bool field_changed(platform::PanelField field, platform::FieldEvent event,
                     char text[platform::PANEL_TEXT_SIZE]) override;

  // While pass_file_missing is set, writes "Warning: Not opened %s" with
  // pass_file and returns true; otherwise returns false.
  bool warning_line(char* text, int size) const override;

  // START with the panel's client rectangle at that moment.
  void start(const platform::WindowRect& client) override;

  // What START fixes: window_rect becomes the client rectangle moved onto
  // the screen, the repeat counts are scaled, and start_pressed is set.
  void press_start(ScreenRect client, int32_t screen_width, int32_t screen_height);

  // Shows the panel at PANEL_RECT with the settings as they are and returns
  // when it has closed: start_pressed tells whether START closed it.
  void show();

 private:
  bool loop_field(platform::FieldEvent event, char* text);
  bool result_field(platform::FieldEvent event, char* text);
  bool pass_field(char* text);
  bool show_loops(char* text) const;

  RunOptions& options_;
  RunState& state_;
};

// When the panel opens, test-loop mode rules out status-only and quarter
// mode. No other combination from the command line is reconciled.
void reconcile_panel_flags(RunOptions& options);

// Moves a rectangle, keeping its size, so that it starts at 0 or more and
// ends (exclusive) no further than the screen's last pixel.
ScreenRect clamp_to_screen(ScreenRect rect, int32_t screen_width, int32_t screen_height);

// Scales the repeat counts once: a quarter in quarter mode, then 2 each in
// test-loop mode and for a validation run.
void apply_start_settings(const RunOptions& options, RepeatCounts& counts);

// The logo: the built-in picture at half size, upright. Logo pixel (x, y),
// y growing downwards, is the picture's pixel at column 2x of row 2(127 - y)
// counted from the bottom: every second pixel of every second row. Three
// bytes a pixel (red, green, blue), top row first; the picture's alpha is
// dropped.
void make_panel_logo(uint8_t logo[PANEL_LOGO_BYTES]);
