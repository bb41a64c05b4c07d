#include "app/options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/option_table.h"
#include "core/pass_statistics.h"
#include "core/run_options.h"
#include "platform/platform.h"
#include "report/report.h"

namespace {

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
    const OptionEntry* option = find_option(argv[i]);
    const ModeWord mode = option != nullptr ? option->mode : ModeWord::none;
    if (mode == ModeWord::batch) {
      options.batch = true;
      continue;
    }
    if (mode == ModeWord::offscreen) {
      options.offscreen = true;
      options.batch = true;
    }
    argv[kept++] = argv[i];
    // A value given to an option is no mode word, as for the scan.
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
    option->answer(table, options, message);
    options.exit_requested = true;
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
      if (value[0] == '\0' && option->names_a_file) {
        refuse_command_line(options, message,
                            "Option '%s' needs a %s, not an empty word\n  '-help' option is help",
                            option->name, option->argument);
        return;
      }
      if (option->apply != nullptr) option->apply(value, options, message);
    } else if (option->apply != nullptr) {
      option->apply(nullptr, options, message);
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

bool interruption_wanted(const RunOptions& options) {
  return has_scores(options) && !options.takes_turns();
}

bool keeps_history(const RunOptions& options) {
  return (options.keep_history || !options.batch) && has_scores(options);
}

namespace {

// -budget without -precision, or -precision with what times nothing.
std::string precision_conflict(const RunOptions& options) {
  if (options.budget_seconds > 0.0 && !options.has_precision_target()) {
    return "-budget bounds a run with -precision, and there is none";
  }
  if (!options.has_precision_target()) return {};
  if (options.loops < 0) {
    return "-precision cannot be combined with an endless -loop: it stops at its target";
  }
  // The target is judged on an interval, which takes MIN_INTERVAL_PASSES
  // passes: a -loop that allows fewer could only end in "too few passes".
  if (options.loops_given && options.loops < MIN_INTERVAL_PASSES) {
    return "-precision needs -loop " + std::to_string(MIN_INTERVAL_PASSES) +
           " or more: a target is judged on the interval of " +
           std::to_string(MIN_INTERVAL_PASSES) + " passes or more, and -loop " +
           std::to_string(options.loops) + " allows " +
           std::to_string(options.loops < 1 ? 1 : options.loops);
  }
  if (options.status_only || options.test_loop) {
    return std::string("-precision cannot be combined with ") +
           (options.status_only ? "-statusonly" : "-test") + ": it times nothing to score";
  }
  return {};
}

// Turns are handed pass by pass to a run that times and scores: the
// program that hands them decides how many passes there are.
std::string turns_conflict(const RunOptions& options) {
  if (!options.takes_turns()) return {};
  const char* other = !options.batch                   ? "a desktop run (give -batch or -offscreen)"
                      : options.loops_given            ? "-loop"
                      : options.has_precision_target() ? "-precision"
                      : options.validating()           ? "-validate"
                      : options.status_only            ? "-statusonly"
                      : options.test_loop              ? "-test"
                                                       : nullptr;
  if (other == nullptr) return {};
  return std::string("-turns cannot be combined with ") + other +
         ": tarvelin-compare -ab decides the passes of a timed run";
}

// A validation draws every test once, with the automatic check on.
std::string validation_conflict(const RunOptions& options) {
  if (!options.validating()) return {};
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
  return {};
}

// Scores to keep or result files asked for where the run has none would
// be lost unsaid.
std::string lost_results_conflict(const RunOptions& options) {
  if (options.keep_history && !has_scores(options)) {
    return std::string("-history cannot be combined with ") +
           (options.status_only ? "-statusonly: a status-only run"
            : options.test_loop ? "-test: a test loop"
            : options.loops < 0 ? "an endless -loop: an endless run"
                                : "-validate: a validation") +
           " has no scores to keep";
  }
  if (!report_wanted(options) && (!options.json_file.empty() || !options.csv_file.empty())) {
    return std::string(options.json_file.empty() ? "-csv" : "-json") + " cannot be combined with " +
           (options.test_loop ? "-test: a test loop" : "an endless -loop: an endless run") +
           " writes no results";
  }
  return {};
}

// Two of the files the run writes, or one of them and the pass definition,
// that are one file.
std::string same_file_conflict(const RunOptions& options) {
  // The files the run will write, by the options that name them.
  std::vector<std::pair<const char*, std::string>> outputs;
  if (report_wanted(options) && !options.validating()) {
    outputs.push_back({"-f", options.report_file});
  }
  if (report_wanted(options)) {
    if (!options.json_file.empty()) outputs.push_back({"-json", options.json_file});
    if (!options.csv_file.empty()) outputs.push_back({"-csv", options.csv_file});
  }
  // The pass definition file is the user's, whether or not this run reads
  // it (-only and -validate do not): a report written over it would be the
  // next run's pass file. One that does not exist loses nothing.
  std::error_code error;
  if (std::filesystem::exists(options.pass_file, error)) {
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

}  // namespace

// The first conflict found, in the order the checks are told.
std::string conflicting_settings(const RunOptions& options) {
  for (const auto check : {turns_conflict, precision_conflict, validation_conflict,
                           lost_results_conflict, same_file_conflict}) {
    if (std::string conflict = check(options); !conflict.empty()) return conflict;
  }
  return {};
}
