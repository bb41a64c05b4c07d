#include "core/pass_definition.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

namespace {

constexpr int LINE_BUFFER_SIZE = LINE_TEXT_MAX + 1;
constexpr int32_t ALL_TESTS = TEST_COUNT;

// One line: its first LINE_TEXT_MAX characters into `line`, without the line
// end; the rest of a longer line is read and dropped, and *cut is set. A
// line ends at LF, CR or CR LF, or at the end of the file. False at the end
// of the file.
bool read_line(FILE* file, char (&line)[LINE_BUFFER_SIZE], bool* cut) {
  int length = 0;
  bool read_any = false;
  *cut = false;
  line[0] = '\0';
  for (;;) {
    const int c = std::getc(file);
    if (c == EOF) return read_any;
    read_any = true;
    if (c == '\n') return true;
    if (c == '\r') {
      const int next = std::getc(file);
      if (next != '\n' && next != EOF) std::ungetc(next, file);
      return true;
    }
    if (length == LINE_TEXT_MAX) {
      *cut = true;
      continue;
    }
    line[length++] = static_cast<char>(c);
    line[length] = '\0';
  }
}

// The text of a line without its comment, tabs as spaces.
std::string_view clean_line(char (&line)[LINE_BUFFER_SIZE]) {
  const size_t length = std::strcspn(line, "#");
  for (size_t i = 0; i < length; ++i) {
    if (line[i] == '\t') line[i] = ' ';
  }
  return std::string_view(line, length);
}

std::string joined(const char* text, std::string_view word) {
  std::string message(text);
  message.append(word);
  return message;
}

// The skip flag that a command stores, or none for an unknown command.
std::optional<uint8_t> command_flag(std::string_view command) {
  if (command == "go" || command == "1") return 0;
  if (command == "pass" || command == "0") return 1;
  return std::nullopt;
}

// True when the switch line enables the definitions that follow.
bool read_switch(std::string_view line, const WarningSink& warn) {
  const std::string_view word = first_word(line);
  if (word == "enable") return true;
  if (word != "disable") warn(joined("Unknown switch ", word));
  return false;
}

void read_definition(std::string_view line, long long line_number, PassSelection* selection,
                     long long* run_lines, const WarningSink& warn) {
  std::string_view keyword;
  std::string_view command;
  if (!split_two_words(line, &keyword, &command)) {
    warn("Syntax Error line " + std::to_string(line_number));
    return;
  }
  const std::optional<uint8_t> flag = command_flag(command);
  if (!flag) {
    warn(joined("Unknown command ", command));
    return;
  }
  const int id = find_test_by_keyword(std::string(keyword).c_str());
  if (id < 0) {
    warn(joined("Unknown keyword ", keyword));
    return;
  }
  selection->skip_flags[id] = *flag;
  if (*flag == 0) ++*run_lines;
}

}  // namespace

std::string_view first_word(std::string_view line) {
  const size_t start = std::min(line.find_first_not_of(' '), line.size());
  const std::string_view rest = line.substr(start);
  return rest.substr(0, rest.find(' '));
}

bool split_two_words(std::string_view line, std::string_view* keyword, std::string_view* command) {
  const std::string_view first = first_word(line);
  const size_t after_first = static_cast<size_t>(first.data() - line.data()) + first.size();
  if (after_first >= line.size()) return false;
  *keyword = first;
  *command = first_word(line.substr(after_first));
  return true;
}

PassSelection parse_pass_definition(FILE* file, const WarningSink& warn) {
  PassSelection selection;
  selection.progress_total = ALL_TESTS;
  if (file == nullptr) return selection;

  bool enabled = false;  // a switch line "enable" has been read
  long long line_number = 0;
  long long run_lines = 0;
  char buffer[LINE_BUFFER_SIZE];
  bool cut = false;
  while (read_line(file, buffer, &cut)) {
    ++line_number;
    if (cut) {
      warn("Line " + std::to_string(line_number) + " is longer than " +
           std::to_string(LINE_TEXT_MAX) + " characters; the rest is ignored");
    }
    const std::string_view line = clean_line(buffer);
    if (line.empty()) continue;
    if (!enabled) {
      if (!read_switch(line, warn)) return selection;
      enabled = true;
      continue;
    }
    read_definition(line, line_number, &selection, &run_lines, warn);
  }
  if (enabled) {
    selection.progress_total = static_cast<int32_t>(std::min<long long>(run_lines, INT32_MAX));
  }
  return selection;
}

PassSelection select_tests(std::string_view keywords, std::vector<std::string>* unknown) {
  PassSelection selection;
  std::fill(std::begin(selection.skip_flags), std::end(selection.skip_flags), 1);
  unknown->clear();
  for (;;) {
    const size_t comma = keywords.find(',');
    const std::string word(keywords.substr(0, comma));
    const bool group_2d = word == "2d" || word == "2D";
    const bool group_3d = word == "3d" || word == "3D";
    const int id = find_test_by_keyword(word.c_str());
    if (group_2d || group_3d) {
      for (int test = 0; test < TEST_COUNT; ++test) {
        if (is_2d_test(static_cast<TestId>(test)) == group_2d) selection.skip_flags[test] = 0;
      }
    } else if (id < 0) {
      unknown->push_back(word);
    } else {
      selection.skip_flags[id] = 0;
    }
    if (comma == std::string_view::npos) break;
    keywords.remove_prefix(comma + 1);
  }
  selection.progress_total = static_cast<int32_t>(
      std::count(std::begin(selection.skip_flags), std::end(selection.skip_flags), 0));
  return selection;
}
