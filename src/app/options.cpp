#include "app/options.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/pass_definition.h"
#include "core/run_options.h"
#include "platform/platform.h"
#include "report/report.h"

namespace {

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
  json_file,
  csv_file,
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

// Listed in the order of the usage text. A word is matched by its whole
// name, and no two names are alike (checked below), so at most one row ever
// matches and nothing depends on this order but the usage.
constexpr OptionEntry OPTION_TABLE[] = {
    {"-loop", "n", "\t", "'n' is loop numbers (-1 to endless)", OptionAction::loop},
    {"-f", "filename", "\t", "output file name (default : result.tvl)", OptionAction::result_file},
    {"-def", "filename", "\t", "defines file name (default : pass.def)", OptionAction::pass_file},
    {"-quarter", nullptr, "\t", "quarter loops (for slow machine)", OptionAction::quarter},
    {"-no_autopass", nullptr, "\t", "disable to auto check of support function",
     OptionAction::no_auto_pass},
    {"-statusonly", nullptr, "\t", "only status output", OptionAction::status_only},
    {"-nocount", nullptr, "\t", "no display title-bar count", OptionAction::no_count},
    {"-test", nullptr, "\t\t", "test loop", OptionAction::test_loop},
    {"-zbits", "n", "\t", "set depth-buffer bit size (default : 32)", OptionAction::zbits},
    {"-vsync", nullptr, "\t\t", "leave the swap interval to the driver (default : 0)",
     OptionAction::vsync},
    {"-json", "filename", "\t", "also write the results as JSON", OptionAction::json_file},
    {"-csv", "filename", "\t", "also write the results as CSV", OptionAction::csv_file},
    {"-only", "keywords", "\t", "run only these tests (keywords, 2d or 3d, comma-separated)",
     OptionAction::only_tests},
    {"-validate", "folder", "\t", "check every test's picture; differences go to folder",
     OptionAction::validate},
    {"-batch", nullptr, "\t\t", "run unattended: no panel, messages on stderr",
     OptionAction::batch},
    {"-offscreen", nullptr, "\t\t", "draw off-screen through EGL, without X (implies -batch)",
     OptionAction::offscreen},
    {"-device", "n", "\t\t", "draw off-screen on EGL device n (see -devices)",
     OptionAction::device},
    {"-devices", nullptr, "\t\t", "list the EGL devices and exit", OptionAction::devices},
    {"-list", nullptr, "\t\t", "list the tests and exit", OptionAction::list},
    {"-version", nullptr, "\t", "print the version and exit", OptionAction::version},
    {"-help", nullptr, "\t\t", "this help", OptionAction::help},
};

constexpr bool option_names_differ() {
  for (const OptionEntry& a : OPTION_TABLE) {
    int same = 0;
    for (const OptionEntry& b : OPTION_TABLE) {
      if (std::string_view(a.name) == std::string_view(b.name)) ++same;
    }
    if (same != 1) return false;
  }
  return true;
}
static_assert(option_names_differ(), "a word must match one option at most");

const OptionEntry* find_option(const char* word) {
  for (const OptionEntry& entry : OPTION_TABLE) {
    if (std::strcmp(entry.name, word) == 0) return &entry;
  }
  return nullptr;
}

// -help, -list, -devices and -version answer and end the run.
bool answers(OptionAction action) {
  return action == OptionAction::help || action == OptionAction::list ||
         action == OptionAction::devices || action == OptionAction::version;
}

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

// A device number is one of -devices' numbers: a whole number from 0 up.
void apply_device(const char* argument, RunOptions& options, OptionMessage& message) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(argument, &end, 10);
  if (end == argument || *end != '\0' || errno == ERANGE || number < 0 || number > INT32_MAX) {
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
    case OptionAction::json_file:
      options.json_file = argument;
      break;
    case OptionAction::csv_file:
      options.csv_file = argument;
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

// The tests and what identifies them, one a line, for -list.
void print_test_list() {
  for (const TestInfo& test : test_catalogue) {
    std::printf("%-24s %s  %-34s %10.6f\n", test.keyword, is_2d_test(test.id) ? "2D" : "3D",
                test.title, test.reference);
  }
  std::fflush(stdout);
}

// The EGL devices, one a line: the number -device takes, the DRM file (or
// "software" for a software renderer) and the GL renderer.
void print_device_list() {
  const std::vector<platform::GlDevice> devices = platform::list_gl_devices();
  for (size_t i = 0; i < devices.size(); ++i) {
    const platform::GlDevice& device = devices[i];
    const std::string file = !device.drm_file.empty() ? device.drm_file
                             : device.software        ? "software"
                                                      : "no DRM file";
    std::printf("%zu  %s  %s\n", i, file.c_str(),
                device.renderer.empty() ? "(no GL context)" : device.renderer.c_str());
  }
  std::fflush(stdout);
  if (devices.empty()) std::fprintf(stderr, "tarvelin: EGL lists no devices here\n");
}

// -help, -list, -devices and -version answer and end the run before
// anything else, wherever they stand and whatever else the line holds.
const OptionEntry* answering_option(const WordTable& table) {
  for (int i = 1; i < table.count; ++i) {
    const OptionEntry* option = find_option(table.words[i]);
    if (option == nullptr) continue;
    if (answers(option->action)) return option;
    if (option->argument != nullptr) ++i;  // its value is no option
  }
  return nullptr;
}

void answer(OptionAction action, const WordTable& table, RunOptions& options,
            OptionMessage& message) {
  switch (action) {
    case OptionAction::help:
      format_usage(table.words[0], message.text, MESSAGE_SIZE);
      if (options.batch) {
        std::fputs(message.text, stdout);
        std::fputc('\n', stdout);
      } else {
        platform::message_box("Usage", message.text);
      }
      break;
    case OptionAction::list:
      print_test_list();
      break;
    case OptionAction::devices:
      print_device_list();
      break;
    case OptionAction::version:
      std::printf("Tarvelin %s\n", VERSION_NUMBER);
      std::fflush(stdout);
      break;
    default:
      break;
  }
  options.exit_requested = true;
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

const char* program_name_of(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
}

// Writes pieces one after another as one snprintf of the joined text would:
// what does not fit is dropped, and the text stays terminated.
class TextWriter {
 public:
  TextWriter(char* out, int size) : out_(out), size_(size) {}

  void add(const char* piece) {
    if (used_ >= size_) return;  // only when size_ is 0: no room for the terminator
    const int written =
        std::snprintf(out_ + used_, static_cast<size_t>(size_ - used_), "%s", piece);
    const int room = size_ - 1 - used_;
    used_ += written < room ? written : room;
  }

 private:
  char* out_;
  int size_;
  int used_ = 0;
};

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

void format_usage(const char* program_name, char* out, int out_size) {
  TextWriter text(out, out_size);
  text.add(program_name);
  text.add(" [options]\n");
  for (const OptionEntry& entry : OPTION_TABLE) {
    text.add("    ");
    text.add(entry.name);
    if (entry.argument != nullptr) {
      text.add(" ");
      text.add(entry.argument);
    }
    text.add(entry.tabs);
    text.add(": ");
    text.add(entry.description);
    text.add("\n");
  }
  text.add("\n            ");
  text.add(VERSION_TEXT);
  text.add("\n\n");
  text.add(HOME_PAGE);
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

std::string conflicting_settings(const RunOptions& options) {
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
  }
  // The files the run will write, by the options that name them.
  std::vector<std::pair<const char*, const char*>> outputs;
  if (report_wanted(options) && !options.validating()) {
    outputs.push_back({"-f", options.result_file.c_str()});
  }
  if (report_wanted(options)) {
    if (!options.json_file.empty()) outputs.push_back({"-json", options.json_file.c_str()});
    if (!options.csv_file.empty()) outputs.push_back({"-csv", options.csv_file.c_str()});
  }
  for (size_t a = 0; a < outputs.size(); ++a) {
    for (size_t b = a + 1; b < outputs.size(); ++b) {
      if (same_file(outputs[a].second, outputs[b].second)) {
        return std::string(outputs[a].first) + " " + outputs[a].second + " and " +
               outputs[b].first + " " + outputs[b].second +
               " name the same file: one would replace the other";
      }
    }
  }
  return {};
}
