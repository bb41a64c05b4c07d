#include "app/options.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/run_options.h"
#include "platform/platform.h"

char option_message[MESSAGE_SIZE];

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
  help,
};

struct OptionEntry {
  const char* name;
  bool takes_argument;
  OptionAction action;
};

// Compared in this order; the first exact match applies.
constexpr OptionEntry OPTION_TABLE[] = {
    {"-zbits", true, OptionAction::zbits},
    {"-loop", true, OptionAction::loop},
    {"-f", true, OptionAction::result_file},
    {"-def", true, OptionAction::pass_file},
    {"-quarter", false, OptionAction::quarter},
    {"-statusonly", false, OptionAction::status_only},
    {"-nocount", false, OptionAction::no_count},
    {"-no_autopass", false, OptionAction::no_auto_pass},
    {"-test", false, OptionAction::test_loop},
    {"-vsync", false, OptionAction::vsync},
    {"-help", false, OptionAction::help},
};

const OptionEntry* find_option(const char* word) {
  for (const OptionEntry& entry : OPTION_TABLE) {
    if (std::strcmp(entry.name, word) == 0) return &entry;
  }
  return nullptr;
}

void copy_file_name(char* field, const char* word) {
  std::snprintf(field, FILE_NAME_SIZE, "%s", word);
}

// Shows the "Error" box with the formatted text and ends the run as a usage
// error.
[[gnu::format(printf, 1, 2)]] void refuse_command_line(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(option_message, MESSAGE_SIZE, format, arguments);
  va_end(arguments);
  platform::message_box("Error", option_message);
  run_options.exit_requested = 1;
  run_options.usage_error = 1;
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

void apply_loop_count(const char* argument) {
  if (!read_count(argument, &run_options.loops)) {
    refuse_command_line("Loop count '%s' is out of range (%d to %d)\n  '-help' option is help",
                        argument, INT32_MIN, INT32_MAX);
    return;
  }
  if (run_options.loops < 0) {
    run_options.loops = -1;
    run_options.show_count = 0;
  }
}

void apply_option(OptionAction action, const char* argument) {
  switch (action) {
    case OptionAction::zbits:
      run_options.depth_bits = std::atoi(argument);
      break;
    case OptionAction::loop:
      apply_loop_count(argument);
      break;
    case OptionAction::result_file:
      copy_file_name(run_options.result_file, argument);
      break;
    case OptionAction::pass_file:
      copy_file_name(run_options.pass_file, argument);
      break;
    case OptionAction::quarter:
      run_options.quarter = 1;
      break;
    case OptionAction::status_only:
      run_options.status_only = 1;
      run_options.show_count = 0;
      break;
    case OptionAction::no_count:
      run_options.show_count = 0;
      break;
    case OptionAction::no_auto_pass:
      run_options.auto_pass = 0;
      break;
    case OptionAction::test_loop:
      run_options.test_loop = 1;
      break;
    case OptionAction::vsync:
      run_options.vsync = 1;
      break;
    case OptionAction::help:
      break;  // handled by the scan
  }
}

const char* program_name_of(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
}

}  // namespace

int take_batch_option(int argc, char** argv, int32_t* batch) {
  int kept = argc > 0 ? 1 : 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-batch") == 0) {
      *batch = 1;
    } else {
      argv[kept++] = argv[i];
    }
  }
  return kept;
}

void split_command_line(int argc, char** argv, WordTable* table) {
  table->count = 1;
  const char* name = argc > 0 ? program_name_of(argv[0]) : "tarvelin";
  std::snprintf(table->words[0], WORD_SIZE, "%s", name);
  if (argc > MAX_WORDS) {
    refuse_command_line(
        "Too many arguments: %d given, at most %d allowed\n  '-help' option is help", argc - 1,
        MAX_WORDS - 1);
    return;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strlen(argv[i]) >= static_cast<size_t>(WORD_SIZE)) {
      refuse_command_line(
          "Argument %d is too long: %zu characters, at most %d allowed\n  '-help' option is help",
          i, std::strlen(argv[i]), WORD_SIZE - 1);
      return;
    }
    std::snprintf(table->words[table->count++], WORD_SIZE, "%s", argv[i]);
  }
}

void format_usage(const char* program_name, char* out, int out_size) {
  char home_page_piece[128];
  std::snprintf(home_page_piece, sizeof home_page_piece, "\n\n%s", HOME_PAGE);
  std::snprintf(out, out_size, "%s [options]\n%s%s%s%s%s%s%s%s%s%s%s%s%s%s", program_name,
                "    -loop n\t: 'n' is loop numbers (-1 to endless)\n",
                "    -f filename\t: output file name (default : result.tvl)\n",
                "    -def filename\t: defines file name (default : pass.def)\n",
                "    -quarter\t: quarter loops (for slow machine)\n",
                "    -no_autopass\t: disable to auto check of support function\n",
                "    -statusonly\t: only status output\n",
                "    -nocount\t: no display title-bar count\n", "    -test\t\t: test loop\n",
                "    -zbits n\t: set depth-buffer bit size (default : 32)\n",
                "    -vsync\t: leave the swap interval to the driver (default : 0)\n",
                "    -help\t\t: this help\n", "\n            ", VERSION_TEXT, home_page_piece);
}

void parse_options(const WordTable& table) {
  for (int i = 1; i < table.count; ++i) {
    const char* word = table.words[i];
    const OptionEntry* option = find_option(word);
    if (option == nullptr) {
      refuse_command_line("Unknown option '%s'\n  '-help' option is help", word);
      return;
    }
    if (option->action == OptionAction::help) {
      format_usage(table.words[0], option_message, MESSAGE_SIZE);
      if (run_options.batch) {
        std::fputs(option_message, stdout);
        std::fputc('\n', stdout);
      } else {
        platform::message_box("Usage", option_message);
      }
      run_options.exit_requested = 1;
      return;
    }
    if (option->takes_argument) {
      if (i + 1 >= table.count) {
        // On the desktop a last option without its value has no effect; an
        // unattended run must not quietly overwrite the default report.
        if (run_options.batch) {
          refuse_command_line("Option '%s' needs a value\n  '-help' option is help", option->name);
        }
        return;
      }
      apply_option(option->action, table.words[++i]);
    } else {
      apply_option(option->action, nullptr);
    }
    if (run_options.exit_requested) return;
  }
}
