#include "app/start_panel_fields.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

using platform::FieldEvent;
using platform::PanelField;

void copy_text(char* to, const char* from) {
  const size_t length = strnlen(from, FILE_NAME_SIZE - 1);
  std::memmove(to, from, length);
  to[length] = '\0';
}

// Overwrites text with shown; true when that changed what the field shows.
bool show(char* text, const char* shown) {
  if (std::strcmp(text, shown) == 0) return false;
  copy_text(text, shown);
  return true;
}

bool show_loops(char* text) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", run_options.loops);
  return show(text, number);
}

bool all_digits(const char* text) {
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

// A count too large for loops saturates instead of wrapping to a negative,
// endless one.
int32_t decimal_value(const char* text) {
  int64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    value = value * 10 + (*c - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

bool loop_field(FieldEvent event, char* text) {
  if (text[0] == '\0') {
    run_options.loops = 0;
    return false;
  }
  if (!all_digits(text)) return show_loops(text);
  run_options.loops = decimal_value(text);
  return event == FieldEvent::focus_lost && show_loops(text);
}

bool result_field(FieldEvent event, char* text) {
  copy_text(run_options.result_file, text);
  if (event != FieldEvent::focus_lost) return false;
  if (run_options.result_file[0] == '\0') copy_text(run_options.result_file, DEFAULT_RESULT_FILE);
  return show(text, run_options.result_file);
}

bool pass_field(FieldEvent, char* text) {
  copy_text(run_options.pass_file, text);
  const bool readable = text[0] == '\0' || platform::read_access(run_options.pass_file);
  run_state.pass_file_missing = readable ? 0 : -1;
  return false;
}

}  // namespace

void panel_field_text(PanelField field, char text[FILE_NAME_SIZE]) {
  switch (field) {
    case PanelField::loops:
      std::snprintf(text, FILE_NAME_SIZE, "%d", run_options.loops);
      return;
    case PanelField::result_file:
      copy_text(text, run_options.result_file);
      return;
    case PanelField::pass_file:
      copy_text(text, run_options.pass_file);
      return;
  }
  text[0] = '\0';
}

bool panel_field_changed(PanelField field, FieldEvent event, char text[FILE_NAME_SIZE]) {
  text[FILE_NAME_SIZE - 1] = '\0';
  switch (field) {
    case PanelField::loops:
      return loop_field(event, text);
    case PanelField::result_file:
      return result_field(event, text);
    case PanelField::pass_file:
      return pass_field(event, text);
  }
  return false;
}

bool panel_warning_line(char* text, int size) {
  if (run_state.pass_file_missing == 0) return false;
  std::snprintf(text, size, "Warning: Not opened %s", run_options.pass_file);
  return true;
}
