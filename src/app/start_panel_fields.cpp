// The rules of the start panel's three text fields.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/start_panel.h"

namespace {

using platform::FieldEvent;
using platform::PanelField;

using platform::PANEL_TEXT_SIZE;

// A field holds at most FILE_NAME_MAX characters: longer text is cut where
// it comes in, as the field itself would.
void copy_text(char* to, const char* from) {
  const size_t length = strnlen(from, FILE_NAME_MAX);
  std::memmove(to, from, length);
  to[length] = '\0';
}

// Overwrites text with shown; true when that changed what the field shows.
bool show_text(char* text, const char* shown) {
  if (std::strcmp(text, shown) == 0) return false;
  copy_text(text, shown);
  return true;
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

}  // namespace

bool StartPanel::show_loops(char* text) const {
  char number[16];
  std::snprintf(number, sizeof number, "%d", options_.loops);
  return show_text(text, number);
}

bool StartPanel::loop_field(FieldEvent event, char* text) {
  if (text[0] == '\0') {
    options_.loops = 0;
    return false;
  }
  if (!all_digits(text)) return show_loops(text);
  options_.loops = decimal_value(text);
  return event == FieldEvent::focus_lost && show_loops(text);
}

bool StartPanel::result_field(FieldEvent event, char* text) {
  options_.report_file = text;
  if (event != FieldEvent::focus_lost) return false;
  if (options_.report_file.empty()) options_.report_file = DEFAULT_REPORT_FILE;
  return show_text(text, options_.report_file.c_str());
}

bool StartPanel::pass_field(char* text) {
  options_.pass_file = text;
  const bool readable = text[0] == '\0' || platform::read_access(text);
  state_.pass_file_missing = !readable;
  return false;
}

void StartPanel::field_text(PanelField field, char text[PANEL_TEXT_SIZE]) const {
  switch (field) {
    case PanelField::loops:
      std::snprintf(text, PANEL_TEXT_SIZE, "%d", options_.loops);
      return;
    case PanelField::report_file:
      copy_text(text, options_.report_file.c_str());
      return;
    case PanelField::pass_file:
      copy_text(text, options_.pass_file.c_str());
      return;
  }
  text[0] = '\0';
}

bool StartPanel::field_changed(PanelField field, FieldEvent event, char text[PANEL_TEXT_SIZE]) {
  text[FILE_NAME_MAX] = '\0';
  switch (field) {
    case PanelField::loops:
      return loop_field(event, text);
    case PanelField::report_file:
      return result_field(event, text);
    case PanelField::pass_file:
      return pass_field(text);
  }
  return false;
}
