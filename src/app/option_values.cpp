#include "app/option_values.h"

#include <fcntl.h>

#include <cctype>
#include <charconv>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_table.h"
#include "core/pass_definition.h"

namespace {

// Reads a number as atoi does (leading blanks, a sign, the digits up to the
// first other character, 0 for none), but refuses one beyond the 32-bit
// range instead of letting it wrap.
bool read_count(const char* text, int32_t* value) {
  errno = 0;
  const long long number = std::strtoll(text, nullptr, 10);
  if (errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int32_t>(number);
  return true;
}

// A number of the whole word in decimal digits, as tarvelin-compare's
// -threshold reads it, above 0 and at most `highest`; false for anything
// else: more after the number, blanks or a sign before it, hexadecimal,
// "nan", "inf".
bool read_positive(const char* text, double highest, double* value) {
  double number = 0.0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, number);
  if (error != std::errc() || stop != end || !(number > 0.0) || !(number <= highest)) {
    return false;
  }
  *value = number;
  return true;
}

// A whole number from 0 up, in digits alone (strtol would also take blanks
// and a sign before them), that fits an int32_t.
bool read_whole_number(const char* text, int32_t* value) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text, &end, 10);
  if (!std::isdigit(static_cast<unsigned char>(text[0])) || *end != '\0' || errno == ERANGE ||
      number > INT32_MAX) {
    return false;
  }
  *value = static_cast<int32_t>(number);
  return true;
}

}  // namespace

void apply_loop_count(const char* argument, RunOptions& options, OptionMessage& message) {
  options.loops_given = true;
  if (!read_count(argument, &options.loops)) {
    refuse_command_line(options, message,
                        "Loop count '%s' is out of range (%d to %d)\n  '-help' option is help",
                        argument, INT32_MIN, INT32_MAX);
    return;
  }
  if (options.loops < 0) {
    options.loops = -1;
    options.show_count = false;
  }
}

void apply_precision(const char* argument, RunOptions& options, OptionMessage& message) {
  if (!read_positive(argument, 100.0, &options.precision_percent)) {
    refuse_command_line(options, message,
                        "Precision '%s' is not a percentage above 0 and up to 100 (e.g. 2 or "
                        "0.5)\n  '-help' option is help",
                        argument);
  }
}

// Up to a year: no run goes on longer, and the sum with the start time
// stays exact.
void apply_budget(const char* argument, RunOptions& options, OptionMessage& message) {
  if (!read_positive(argument, 366.0 * 24 * 3600, &options.budget_seconds)) {
    refuse_command_line(options, message,
                        "Budget '%s' is not a number of seconds above 0 (up to a year)\n  "
                        "'-help' option is help",
                        argument);
  }
}

// A device number is one of -devices' numbers.
void apply_device(const char* argument, RunOptions& options, OptionMessage& message) {
  int32_t number = 0;
  if (!read_whole_number(argument, &number)) {
    refuse_command_line(options, message,
                        "Device '%s' is not a device number (0 and up)\n  '-devices' option "
                        "lists the devices",
                        argument);
    return;
  }
  options.egl_device = number;
  options.offscreen = true;
}

// The socket is tarvelin-compare's, inherited open; a number that names no
// open descriptor is a mistake to tell now, not a failed write at the
// first test.
void apply_turns(const char* argument, RunOptions& options, OptionMessage& message) {
  int32_t number = 0;
  if (!read_whole_number(argument, &number) || fcntl(number, F_GETFD) < 0) {
    refuse_command_line(options, message,
                        "-turns '%s' is not an open file descriptor: -turns is for "
                        "tarvelin-compare -ab, which hands the run its socket",
                        argument);
    return;
  }
  options.turns_fd = number;
}

// The keywords must all name tests; the unknown ones are told. Every -only
// adds its tests to those of the ones before it.
void apply_only_tests(const char* argument, RunOptions& options, OptionMessage& message) {
  if (std::strspn(argument, ",") == std::strlen(argument)) {
    refuse_command_line(options, message,
                        "Option '-only' names no test\n  '-list' option lists the tests");
    return;
  }
  std::vector<std::string> unknown;
  select_tests(argument, &unknown);
  if (!unknown.empty()) {
    std::string words;
    for (size_t i = 0; i < unknown.size(); ++i) words += (i > 0 ? "," : "") + unknown[i];
    refuse_command_line(options, message,
                        "Unknown test%s '%s' in -only\n  '-list' option lists the tests",
                        unknown.size() > 1 ? "s" : "", words.c_str());
    return;
  }
  if (!options.only_tests.empty()) options.only_tests += ',';
  options.only_tests += argument;
}
