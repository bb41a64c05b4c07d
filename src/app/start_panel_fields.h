// What editing one of the panel's three fields does to run_options and to
// run_state.pass_file_missing. Field texts are at most 255 characters.
#pragma once

#include "core/run_options.h"
#include "platform/platform.h"

static_assert(platform::PANEL_TEXT_SIZE == FILE_NAME_SIZE);

// The text the field shows when the panel opens: loops as "%d", result_file,
// pass_file.
void panel_field_text(platform::PanelField field, char text[FILE_NAME_SIZE]);

// Applies the field's text after an edit or a focus loss. Returns true when
// it overwrote text with what the field must show instead, false when the
// field keeps what it shows.
//   loops: digits only set loops to their value (an empty text gives 0 and
//     stays empty); on focus loss the value is shown again as "%d". Any
//     other text is refused: loops is kept and shown again as "%d", which
//     a negative loops from the command line survives unchanged.
//   result_file: the text becomes result_file; on focus loss an empty one
//     is reset to the default and the field shows result_file.
//   pass_file: the text becomes pass_file and pass_file_missing is set
//     from a read-access test (0 for an empty name).
bool panel_field_changed(platform::PanelField field, platform::FieldEvent event,
                         char text[FILE_NAME_SIZE]);

// While pass_file_missing is set, writes "Warning: Not opened %s" with
// pass_file and returns true; otherwise returns false.
bool panel_warning_line(char* text, int size);
