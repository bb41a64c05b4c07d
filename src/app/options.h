// Reading the command line into RunOptions.
#pragma once

#include <cstdint>
#include <string>

struct RunOptions;

constexpr int MAX_WORDS = 16;       // the program name and up to 15 arguments
constexpr int WORD_SIZE = 256;      // 255 characters and the terminator
constexpr int MESSAGE_SIZE = 2048;  // usage or error text
constexpr const char* HOME_PAGE = "https://tarvelin.example.org/";

struct WordTable {
  int32_t count = 1;  // word 0, the program name, always exists
  char words[MAX_WORDS][WORD_SIZE] = {};
};

// The text of the usage or error box the scan showed; left as it was when
// the scan showed none.
struct OptionMessage {
  char text[MESSAGE_SIZE] = {};
};

// Decides what must be known before any other option is read: removes
// every "-batch" word from argv (keeping argv[0]) and sets options.batch;
// "-offscreen" or "-device" anywhere set options.offscreen and make the run
// a batch run too, since no X connection is made for a start panel or a
// message box. A word that is the value of an option before it (`-f
// -batch` names the report "-batch") is no mode word, as in the scan.
// Returns the new count.
int take_mode_options(int argc, char** argv, RunOptions& options);

// Fills the word table from argv: word 0 is the program name without its
// folders. Words longer than 255 characters or more than 15 arguments are
// refused, never cut: the table is left with what fitted, an "Error" box
// says what was wrong (its text kept in message), and options.exit_requested
// and options.usage_error are set.
void split_command_line(int argc, char** argv, WordTable* table, RunOptions& options,
                        OptionMessage& message);

// Applies the words to options in their order and stops at the first that
// ends the run. "-help", "-list", "-devices" and "-version" answer first,
// wherever they stand: "-help" shows the usage (on stdout when
// options.batch), and each sets exit_requested. An unknown word, a loop
// count beyond 32 bits, an unknown test in -only, an empty file name, in
// batch mode a last option without its value, or conflicting_settings
// shows an "Error" box and sets exit_requested and usage_error. The text
// shown is kept in message.
void parse_options(const WordTable& table, RunOptions& options, OptionMessage& message);

// Whether the run ends with scores: it is timed, ends, and is neither
// status-only nor a validation.
bool has_scores(const RunOptions& options);
// Whether a signal during its passes (SIGINT, SIGTERM) ends the run early,
// keeping the passes completed (app/interruption.h): a run with scores that
// does not take turns, since tarvelin-compare -ab stops its sides itself
// and keeps nothing of them then.
bool interruption_wanted(const RunOptions& options);
// Whether its results go into the history of runs: every such desktop run,
// and a batch run with -history (scripts and test suites should not fill a
// home folder).
bool keeps_history(const RunOptions& options);

// What the settings ask for that cannot be done together, as the text of an
// "Error" box; empty when nothing. A validation cannot be status-only, lack
// the automatic check, or leave tests out; the report and the result files
// must be different files, and none of them an existing pass definition
// file, read by the run or not.
std::string conflicting_settings(const RunOptions& options);

// Writes the usage text for a program called program_name as snprintf
// would: cut to out_size - 1 characters and terminated, nothing written
// when out_size is 0.
void format_usage(const char* program_name, char* out, int out_size);
