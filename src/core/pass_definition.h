// The pass definition file: which of the tests a run leaves out.
//
// Text lines; "#" starts a comment and a tab counts as a space. The first
// line that is not empty is the switch line, "enable" or "disable"; every
// later one holds a keyword of the catalogue and a command: "go" or "1"
// runs the test, "pass" or "0" passes over it. Problems are reported one
// message per line and never stop the run: what is not understood is left
// out, and those tests run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"

// What a pass definition selects for one pass.
struct PassSelection {
  uint8_t skip_flags[TEST_COUNT] = {};  // 1: passed over
  int32_t progress_total = 0;           // test runs that the title counter counts to
};

// Receives the text of one warning, e.g. "Unknown keyword blurr".
using WarningSink = std::function<void(const std::string& text)>;

// The characters of a line that are read; the rest of a longer line is
// left out.
constexpr int LINE_TEXT_MAX = 254;

// Reads a pass definition from `file` (null: it could not be opened).
//
// A line ends at LF, CR or CR LF. Of a line longer than LINE_TEXT_MAX
// characters the first LINE_TEXT_MAX are read and the rest is left out, with
// the warning "Line <n> is longer than 254 characters; the rest is ignored".
// Whatever the bytes are (NUL bytes, binary data, no final line feed),
// reading stays within its buffers; a NUL byte ends the text of its line.
//
// Without a switch line, with "disable", or with an unknown switch (warned
// "Unknown switch <word>"), every test runs and progress_total is TEST_COUNT.
// Otherwise each definition line with a known keyword and command sets that
// test's flag (the last line wins), and each one with a run command adds 1
// to progress_total; the other lines are warned about and left out:
// "Syntax Error line <n>" (one word only; n counts every physical line from
// 1), "Unknown command <word>", "Unknown keyword <word>". Words are shown
// whole, however long.
PassSelection parse_pass_definition(FILE* file, const WarningSink& warn);

// The first word of `line`: leading spaces skipped, up to the next space or
// the end. Empty for a line of spaces.
std::string_view first_word(std::string_view line);

// Splits `line` into a keyword and a command: leading spaces skipped, the
// keyword up to the next space, further spaces skipped, the command up to
// the next space or the end (so a trailing space gives an empty command).
// False, with the outputs unchanged, when the line ends before a space has
// followed the first word.
bool split_two_words(std::string_view line, std::string_view* keyword, std::string_view* command);

// The largest pass definition file that is read.
constexpr long PASS_FILE_MAX_BYTES = 1L << 20;

// The selection of `keywords`, separated by commas (as the option -only
// takes them): those tests run and every other is passed over, as a pass
// definition naming each test would; progress_total counts the tests that
// run. A word is a test's keyword, or "2d" or "3d" (either case) for every
// test of that group. Words that name no test are left out and listed in
// `unknown` (empty when every word names a test); an empty word counts as
// unknown.
PassSelection select_tests(std::string_view keywords, std::vector<std::string>* unknown);
