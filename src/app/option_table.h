// The options the command line knows, one row each: its line of the usage
// text, what it sets, whether its value names a file, how it answers when
// it ends the run before it starts, and whether it is a mode word. The
// scans (options.cpp) read the rows and know no option by name; nothing
// else uses them.
#pragma once

#include "app/options.h"
#include "core/run_options.h"

// What an option does with its value (null for an option without one):
// sets what it names in the settings, or refuses the value with
// refuse_command_line.
using ApplyOption = void (*)(const char* value, RunOptions& options, OptionMessage& message);

// How an option that ends the run before it starts answers: the usage, the
// test list, the EGL devices or the version.
using AnswerOption = void (*)(const WordTable& table, RunOptions& options, OptionMessage& message);

// Words found before any other option is read, wherever they stand
// (take_mode_options): batch mode, or off-screen drawing, which is batch
// mode too.
enum class ModeWord { none, batch, offscreen };

// One option: its line of the usage text, "    " name [" " argument] tabs
// ": " description, and everything the scans need to know of it.
struct OptionEntry {
  const char* name;
  const char* argument;  // its placeholder in the usage; nullptr: takes none
  const char* tabs;      // before the ": ": the first rows keep the layout they were
                         // published with; later ones reach column 24
  const char* description;
  ApplyOption apply;    // null where the scan has nothing to set (-batch, the answers)
  bool names_a_file;    // its value names a file or folder the run uses: never empty
  AnswerOption answer;  // answers and ends the run; null for the others
  ModeWord mode = ModeWord::none;
};

// The option whose whole name is `word`; null for none.
const OptionEntry* find_option(const char* word);

// The first option of the words that answers, wherever it stands (a value
// given to another option is no option); null for none.
const OptionEntry* answering_option(const WordTable& table);

// Shows the "Error" box with the formatted text and ends the run as a usage
// error (sets options.exit_requested and options.usage_error); the text is
// kept in message.
[[gnu::format(printf, 3, 4)]] void refuse_command_line(RunOptions& options, OptionMessage& message,
                                                       const char* format, ...);

// The program's name without its folders.
const char* program_name_of(const char* path);
