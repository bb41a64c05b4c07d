#include "app/options.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/option_table.h"
#include "core/pass_definition.h"
#include "core/run_options.h"
#include "platform/platform.h"
#include "report/report.h"

namespace {

// Shows the "Error" box with the formatted text and ends the run as a usage
// error.
[[gnu::format(printf, 3, 4)]] void refuse_command_line(RunOptions& options, OptionMessage& message,
                                                       const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message.text, MESSAGE_SIZE, format, arguments);
  va_end(arguments);
  platform::message_box("Error", message.text);
  options.exit_requested = true;
  options.usage_error = true;
}

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

void apply_loop_count(const char* argument, RunOptions& options, OptionMessage& message) {
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

// A number of the whole word, above 0 and at most `highest`; false for
// anything else (a word with more after the number, "nan", "inf").
bool read_positive(const char* text, double highest, double* value) {
  char* end = nullptr;
  errno = 0;
  const double number = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno == ERANGE || !(number > 0.0) || !(number <= highest)) {
    return false;
  }
  *value = number;
  return true;
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

// A device number is one of -devices' numbers: a whole number from 0 up,
// in digits alone (strtol would also take blanks and a sign before them).
void apply_device(const char* argument, RunOptions& options, OptionMessage& message) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(argument, &end, 10);
  if (!std::isdigit(static_cast<unsigned char>(argument[0])) || *end != '\0' || errno == ERANGE ||
      number > INT32_MAX) {
    refuse_command_line(options, message,
                        "Device '%s' is not a device number (0 and up)\n  '-devices' option "
                        "lists the devices",
                        argument);
    return;
  }
  options.egl_device = static_cast<int32_t>(number);
  options.offscreen = true;
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

// A name that a run writes to or reads from cannot be empty.
bool takes_a_name(OptionAction action) {
  return action == OptionAction::result_file || action == OptionAction::pass_file ||
         action == OptionAction::json_file || action == OptionAction::csv_file ||
         action == OptionAction::validate;
}

void apply_option(OptionAction action, const char* argument, RunOptions& options,
                  OptionMessage& message) {
  switch (action) {
    case OptionAction::zbits:
      options.depth_bits = std::atoi(argument);
      break;
    case OptionAction::loop:
      apply_loop_count(argument, options, message);
      options.loops_given = true;
      break;
    case OptionAction::precision:
      apply_precision(argument, options, message);
      break;
    case OptionAction::budget:
      apply_budget(argument, options, message);
      break;
    case OptionAction::result_file:
      options.result_file = argument;
      break;
    case OptionAction::pass_file:
      options.pass_file = argument;
      break;
    case OptionAction::quarter:
      options.quarter = true;
      break;
    case OptionAction::status_only:
      options.status_only = true;
      options.show_count = false;
      break;
    case OptionAction::no_count:
      options.show_count = false;
      break;
    case OptionAction::no_auto_pass:
      options.auto_pass = false;
      break;
    case OptionAction::test_loop:
      options.test_loop = true;
      break;
    case OptionAction::vsync:
      options.vsync = true;
      break;
    case OptionAction::no_check:
      options.check_pictures = false;
      break;
    case OptionAction::json_file:
      options.json_file = argument;
      break;
    case OptionAction::csv_file:
      options.csv_file = argument;
      break;
    case OptionAction::history:
      options.keep_history = true;
      break;
    case OptionAction::only_tests:
      apply_only_tests(argument, options, message);
      break;
    case OptionAction::validate:
      options.validate_dir = argument;
      break;
    case OptionAction::offscreen:
      options.offscreen = true;
      break;
    case OptionAction::device:
      apply_device(argument, options, message);
      break;
    case OptionAction::batch:  // taken out before the scan
    case OptionAction::devices:
    case OptionAction::list:
    case OptionAction::version:
    case OptionAction::help:
      break;  // handled by the scan
  }
}

// Both names lead to one file: the same existing file, or the same place
// once the folders of the names are resolved.
bool same_file(const char* a, const char* b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  const auto place = [&error](const char* name) {
    return std::filesystem::weakly_canonical(std::filesystem::absolute(name, error), error);
  };
  const std::filesystem::path place_a = place(a);
  if (error) return false;
  const std::filesystem::path place_b = place(b);
  return !error && place_a == place_b;
}

}  // namespace

int take_mode_options(int argc, char** argv, RunOptions& options) {
  int kept = argc > 0 ? 1 : 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-batch") == 0) {
      options.batch = true;
      continue;
    }
    if (std::strcmp(argv[i], "-offscreen") == 0 || std::strcmp(argv[i], "-device") == 0) {
      options.offscreen = true;
      options.batch = true;
    }
    argv[kept++] = argv[i];
    // A value given to an option is no mode word, as for the scan.
    const OptionEntry* option = find_option(argv[i]);
    if (option != nullptr && option->argument != nullptr && i + 1 < argc) argv[kept++] = argv[++i];
  }
  return kept;
}

void split_command_line(int argc, char** argv, WordTable* table, RunOptions& options,
                        OptionMessage& message) {
  table->count = 1;
  const char* name = argc > 0 ? program_name_of(argv[0]) : "tarvelin";
  std::snprintf(table->words[0], WORD_SIZE, "%s", name);
  if (argc > MAX_WORDS) {
    refuse_command_line(
        options, message,
        "Too many arguments: %d given, at most %d allowed\n  '-help' option is help", argc - 1,
        MAX_WORDS - 1);
    return;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strlen(argv[i]) >= static_cast<size_t>(WORD_SIZE)) {
      refuse_command_line(
          options, message,
          "Argument %d is too long: %zu characters, at most %d allowed\n  '-help' option is help",
          i, std::strlen(argv[i]), WORD_SIZE - 1);
      return;
    }
    std::snprintf(table->words[table->count++], WORD_SIZE, "%s", argv[i]);
  }
}

void parse_options(const WordTable& table, RunOptions& options, OptionMessage& message) {
  if (const OptionEntry* option = answering_option(table)) {
    answer(option->action, table, options, message);
    return;
  }
  for (int i = 1; i < table.count; ++i) {
    const char* word = table.words[i];
    const OptionEntry* option = find_option(word);
    if (option == nullptr) {
      refuse_command_line(options, message, "Unknown option '%s'\n  '-help' option is help", word);
      return;
    }
    if (option->argument != nullptr) {
      if (i + 1 >= table.count) {
        // On the desktop a last option without its value has no effect; an
        // unattended run must not quietly overwrite the default report.
        if (options.batch) {
          refuse_command_line(options, message,
                              "Option '%s' needs a value\n  '-help' option is help", option->name);
        }
        return;
      }
      const char* value = table.words[++i];
      if (value[0] == '\0' && takes_a_name(option->action)) {
        refuse_command_line(options, message,
                            "Option '%s' needs a %s, not an empty word\n  '-help' option is help",
                            option->name, option->argument);
        return;
      }
      apply_option(option->action, value, options, message);
    } else {
      apply_option(option->action, nullptr, options, message);
    }
    if (options.exit_requested) return;
  }
  const std::string conflict = conflicting_settings(options);
  if (!conflict.empty()) {
    refuse_command_line(options, message, "%s\n  '-help' option is help", conflict.c_str());
  }
}

bool has_scores(const RunOptions& options) {
  return report_wanted(options) && !options.status_only && !options.validating();
}

bool keeps_history(const RunOptions& options) {
  return (options.keep_history || !options.batch) && has_scores(options);
}

std::string conflicting_settings(const RunOptions& options) {
  if (options.budget_seconds > 0.0 && !options.has_precision_target()) {
    return "-budget bounds a run with -precision, and there is none";
  }
  if (options.has_precision_target()) {
    if (options.loops < 0) {
      return "-precision cannot be combined with an endless -loop: it stops at its target";
    }
    if (options.status_only || options.test_loop) {
      return std::string("-precision cannot be combined with ") +
             (options.status_only ? "-statusonly" : "-test") + ": it times nothing to score";
    }
  }
  if (options.validating()) {
    if (options.status_only) {
      return "-validate cannot be combined with -statusonly: a status-only run draws no picture";
    }
    if (!options.auto_pass) {
      return "-validate cannot be combined with -no_autopass: the reference pictures are drawn "
             "with the automatic check on";
    }
    if (!options.only_tests.empty()) {
      return "-validate cannot be combined with -only: a validation draws every test";
    }
    if (!options.check_pictures) {
      return "-validate cannot be combined with -nocheck: a validation is a check of the pictures";
    }
    if (options.has_precision_target()) {
      return "-validate cannot be combined with -precision: a validation draws one pass";
    }
  }
  if (options.keep_history && !has_scores(options)) {
    return std::string("-history cannot be combined with ") +
           (options.status_only ? "-statusonly: a status-only run"
            : options.test_loop ? "-test: a test loop"
            : options.loops < 0 ? "an endless -loop: an endless run"
                                : "-validate: a validation") +
           " has no scores to keep";
  }
  // Result files asked for where none is written would be lost unsaid.
  if (!report_wanted(options) && (!options.json_file.empty() || !options.csv_file.empty())) {
    return std::string(options.json_file.empty() ? "-csv" : "-json") + " cannot be combined with " +
           (options.test_loop ? "-test: a test loop" : "an endless -loop: an endless run") +
           " writes no results";
  }
  // The files the run will write, by the options that name them.
  std::vector<std::pair<const char*, std::string>> outputs;
  if (report_wanted(options) && !options.validating()) {
    outputs.push_back({"-f", options.result_file});
  }
  if (report_wanted(options)) {
    if (!options.json_file.empty()) outputs.push_back({"-json", options.json_file});
    if (!options.csv_file.empty()) outputs.push_back({"-csv", options.csv_file});
  }
  // The pass definition is read at START; a report written over it would
  // be the next run's pass file. One that does not exist loses nothing.
  std::error_code error;
  if (options.only_tests.empty() && std::filesystem::exists(options.pass_file, error)) {
    for (const auto& [option, name] : outputs) {
      if (same_file(name.c_str(), options.pass_file.c_str())) {
        return std::string(option) + " " + name + " would replace the pass definition file -def " +
               options.pass_file;
      }
    }
  }
  if (options.validating()) outputs.push_back({"-validate", options.validate_dir + "/summary.txt"});
  for (size_t a = 0; a < outputs.size(); ++a) {
    for (size_t b = a + 1; b < outputs.size(); ++b) {
      if (same_file(outputs[a].second.c_str(), outputs[b].second.c_str())) {
        return std::string(outputs[a].first) + " " + outputs[a].second + " and " +
               outputs[b].first + " " + outputs[b].second +
               " name the same file: one would replace the other";
      }
    }
  }
  return {};
}
