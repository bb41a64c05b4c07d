#include "app/option_table.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/option_values.h"
#include "core/catalogue.h"
#include "core/pass_definition.h"
#include "platform/platform.h"

namespace {

// The tests and what identifies them, one a line, for -list.
void print_test_list(const WordTable&, RunOptions&, OptionMessage&) {
  for (const TestInfo& test : test_catalogue) {
    std::printf("%-24s %s  %-34s %10.6f\n", test.keyword, is_2d_test(test.id) ? "2D" : "3D",
                test.title, test.reference);
  }
  std::fflush(stdout);
}

// The EGL devices, one a line: the number -device takes, the DRM file (or
// "software" for a software renderer) and the GL renderer.
void print_device_list(const WordTable&, RunOptions&, OptionMessage&) {
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

// The usage: on stdout in batch mode or without a display, else in a
// "Usage" box; its text is kept in message.
void print_usage(const WordTable& table, RunOptions& options, OptionMessage& message) {
  format_usage(table.words[0], message.text, MESSAGE_SIZE);
  if (options.batch || !platform::display_open()) {
    std::fputs(message.text, stdout);
    std::fputc('\n', stdout);
  } else {
    platform::message_box("Usage", message.text);
  }
}

void print_version(const WordTable&, RunOptions&, OptionMessage&) {
  std::printf("Tarvelin %s\n", VERSION_NUMBER);
  std::fflush(stdout);
}

// The settings an option without a value turns on or off.
void set_quarter(const char*, RunOptions& options, OptionMessage&) { options.quarter = true; }
void set_no_auto_pass(const char*, RunOptions& options, OptionMessage&) {
  options.auto_pass = false;
}
// A status-only run has no count to show.
void set_status_only(const char*, RunOptions& options, OptionMessage&) {
  options.status_only = true;
  options.show_count = false;
}
void set_no_count(const char*, RunOptions& options, OptionMessage&) { options.show_count = false; }
void set_test_loop(const char*, RunOptions& options, OptionMessage&) { options.test_loop = true; }
void set_vsync(const char*, RunOptions& options, OptionMessage&) { options.vsync = true; }
void set_no_check(const char*, RunOptions& options, OptionMessage&) {
  options.check_pictures = false;
}
void set_history(const char*, RunOptions& options, OptionMessage&) { options.keep_history = true; }
void set_offscreen(const char*, RunOptions& options, OptionMessage&) { options.offscreen = true; }

// The settings an option's value gives as it stands.
void set_depth_bits(const char* value, RunOptions& options, OptionMessage&) {
  options.depth_bits = std::atoi(value);
}
void set_report_file(const char* value, RunOptions& options, OptionMessage&) {
  options.report_file = value;
}
void set_pass_file(const char* value, RunOptions& options, OptionMessage&) {
  options.pass_file = value;
}
void set_json_file(const char* value, RunOptions& options, OptionMessage&) {
  options.json_file = value;
}
void set_csv_file(const char* value, RunOptions& options, OptionMessage&) {
  options.csv_file = value;
}
void set_validate_dir(const char* value, RunOptions& options, OptionMessage&) {
  options.validate_dir = value;
}

constexpr bool FILE_NAME = true;

// Listed in the order of the usage text. A word is matched by its whole
// name, and no two names are alike (checked below), so at most one row ever
// matches and nothing depends on this order but the usage.
constexpr OptionEntry OPTION_TABLE[] = {
    {"-loop", "n", "\t", "'n' is loop numbers (-1 to endless)", apply_loop_count, false, nullptr},
    {"-f", "filename", "\t", "output file name (default : result.tvl)", set_report_file, FILE_NAME,
     nullptr},
    {"-def", "filename", "\t", "defines file name (default : pass.def)", set_pass_file, FILE_NAME,
     nullptr},
    {"-quarter", nullptr, "\t", "quarter loops (for slow machine)", set_quarter, false, nullptr},
    {"-no_autopass", nullptr, "\t", "disable to auto check of support function", set_no_auto_pass,
     false, nullptr},
    {"-statusonly", nullptr, "\t", "only status output", set_status_only, false, nullptr},
    {"-nocount", nullptr, "\t", "no display title-bar count", set_no_count, false, nullptr},
    {"-test", nullptr, "\t\t", "test loop", set_test_loop, false, nullptr},
    {"-zbits", "n", "\t", "set depth-buffer bit size (default : 32)", set_depth_bits, false,
     nullptr},
    {"-vsync", nullptr, "\t\t", "leave the swap interval to the driver (default : 0)", set_vsync,
     false, nullptr},
    {"-precision", "P", "\t", "passes until each test's 95% interval is within P % (at most -loop)",
     apply_precision, false, nullptr},
    {"-budget", "S", "\t\t", "with -precision: stop after S seconds (default : 600)", apply_budget,
     false, nullptr},
    {"-nocheck", nullptr, "\t\t", "do not check the timed tests' pictures", set_no_check, false,
     nullptr},
    {"-json", "filename", "\t", "also write the results as JSON", set_json_file, FILE_NAME,
     nullptr},
    {"-csv", "filename", "\t", "also write the results as CSV", set_csv_file, FILE_NAME, nullptr},
    {"-history", nullptr, "\t\t", "keep the results in the history (desktop runs always do)",
     set_history, false, nullptr},
    {"-only", "keywords", "\t", "run only these tests (keywords, 2d or 3d, comma-separated)",
     apply_only_tests, false, nullptr},
    {"-turns", "fd", "\t\t", "take turns with tarvelin-compare -ab on socket fd (for it alone)",
     apply_turns, false, nullptr},
    {"-validate", "folder", "\t", "check every test's picture; differences go to folder",
     set_validate_dir, FILE_NAME, nullptr},
    // Taken out of the words before the scan.
    {"-batch", nullptr, "\t\t", "run unattended: no panel, messages on stderr", nullptr, false,
     nullptr, ModeWord::batch},
    {"-offscreen", nullptr, "\t\t", "draw off-screen through EGL, without X (implies -batch)",
     set_offscreen, false, nullptr, ModeWord::offscreen},
    {"-device", "n", "\t\t", "draw off-screen on EGL device n (see -devices)", apply_device, false,
     nullptr, ModeWord::offscreen},
    {"-devices", nullptr, "\t\t", "list the EGL devices and exit", nullptr, false,
     print_device_list},
    {"-list", nullptr, "\t\t", "list the tests and exit", nullptr, false, print_test_list},
    {"-version", nullptr, "\t", "print the version and exit", nullptr, false, print_version},
    {"-help", nullptr, "\t\t", "this help", nullptr, false, print_usage},
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

}  // namespace

void refuse_command_line(RunOptions& options, OptionMessage& message, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message.text, MESSAGE_SIZE, format, arguments);
  va_end(arguments);
  platform::message_box("Error", message.text);
  options.exit_requested = true;
  options.usage_error = true;
}

const OptionEntry* find_option(const char* word) {
  for (const OptionEntry& entry : OPTION_TABLE) {
    if (std::strcmp(entry.name, word) == 0) return &entry;
  }
  return nullptr;
}

const OptionEntry* answering_option(const WordTable& table) {
  for (int i = 1; i < table.count; ++i) {
    const OptionEntry* option = find_option(table.words[i]);
    if (option == nullptr) continue;
    if (option->answer != nullptr) return option;
    if (option->argument != nullptr) ++i;  // its value is no option
  }
  return nullptr;
}

const char* program_name_of(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
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
