// The options the command line knows, each with its line of the usage
// text, and the answers of those that end the run before it starts. Shared
// by the option scan (options.cpp) and nothing else.
#pragma once

#include "app/options.h"
#include "core/run_options.h"

enum class OptionAction {
  zbits,
  loop,
  result_file,
  pass_file,
  quarter,
  status_only,
  no_count,
  no_auto_pass,
  test_loop,
  vsync,
  no_check,
  precision,
  budget,
  json_file,
  csv_file,
  history,
  only_tests,
  validate,
  batch,
  offscreen,
  device,
  devices,
  list,
  version,
  help,
};

// One option and its line of the usage text:
// "    " name [" " argument] tabs ": " description.
struct OptionEntry {
  const char* name;
  const char* argument;  // its placeholder in the usage; nullptr: takes none
  const char* tabs;      // before the ": ": the first rows keep the layout they were
                         // published with; later ones reach column 24
  const char* description;
  OptionAction action;
};

// The option whose whole name is `word`; null for none.
const OptionEntry* find_option(const char* word);

// -help, -list, -devices and -version answer and end the run.
bool answers(OptionAction action);

// The first option of the words that answers, wherever it stands (a value
// given to another option is no option); null for none.
const OptionEntry* answering_option(const WordTable& table);

// Answers `action`: the usage (on stdout in batch mode, else in a "Usage"
// box, its text kept in message), the test list, the EGL devices or the
// version; sets options.exit_requested.
void answer(OptionAction action, const WordTable& table, RunOptions& options,
            OptionMessage& message);

// The program's name without its folders.
const char* program_name_of(const char* path);
