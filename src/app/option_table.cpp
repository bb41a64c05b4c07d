#include "app/option_table.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "platform/platform.h"

namespace {

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
    {"-precision", "P", "\t", "passes until each test's 95% interval is within P % (at most -loop)",
     OptionAction::precision},
    {"-budget", "S", "\t\t", "with -precision: stop after S seconds (default : 600)",
     OptionAction::budget},
    {"-nocheck", nullptr, "\t\t", "do not check the timed tests' pictures", OptionAction::no_check},
    {"-json", "filename", "\t", "also write the results as JSON", OptionAction::json_file},
    {"-csv", "filename", "\t", "also write the results as CSV", OptionAction::csv_file},
    {"-history", nullptr, "\t\t", "keep the results in the history (desktop runs always do)",
     OptionAction::history},
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

const OptionEntry* find_option(const char* word) {
  for (const OptionEntry& entry : OPTION_TABLE) {
    if (std::strcmp(entry.name, word) == 0) return &entry;
  }
  return nullptr;
}

bool answers(OptionAction action) {
  return action == OptionAction::help || action == OptionAction::list ||
         action == OptionAction::devices || action == OptionAction::version;
}

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
      if (options.batch || !platform::display_open()) {
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
