// The pass definition reader as the run sequence calls it; kept apart from
// the parser so that the parser builds without the window system.
#include <cstring>

#include "catalogue/pass_definition.h"
#include "platform/platform.h"
#include "shell/run_options.h"

void read_pass_definition() {
  FILE* file = std::fopen(run_options.pass_file, "r");
  const PassSelection selection = parse_pass_definition(
      file, [](const std::string& text) { platform::message_box("Warning", text.c_str()); });
  if (file != nullptr) std::fclose(file);
  std::memcpy(skip_flags, selection.skip_flags, sizeof skip_flags);
  progress_total = selection.progress_total;
}
