// Reading the command line into RunOptions.
#pragma once

#include <cstdint>

constexpr int MAX_WORDS = 16;       // the program name and up to 15 arguments
constexpr int WORD_SIZE = 256;      // 255 characters and the terminator
constexpr int MESSAGE_SIZE = 1024;  // usage or error text
constexpr const char* HOME_PAGE = "https://tarvelin.example.org/";

struct WordTable {
  int32_t count = 1;  // word 0, the program name, always exists
  char words[MAX_WORDS][WORD_SIZE] = {};
};

// The text of the last usage or error message that parse_options showed.
extern char option_message[MESSAGE_SIZE];

// Removes every "-batch" word from argv (keeping argv[0]); returns the new
// count. Batch mode is decided before any other option is read.
int take_batch_option(int argc, char** argv, int32_t* batch);

// Fills the word table from argv: word 0 is the program name without its
// folders. Words longer than 255 characters or more than 15 arguments are
// refused, never cut: the table is left with what fitted, an "Error" box
// says what was wrong, and exit_requested and usage_error are set.
void split_command_line(int argc, char** argv, WordTable* table);

// Applies the options in table order; shows the usage ("-help") or the
// error for an unknown word, then sets exit_requested.
void parse_options(const WordTable& table);

// The usage text for a program called program_name.
void format_usage(const char* program_name, char* out, int out_size);
