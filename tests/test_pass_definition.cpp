// Reading the pass definition: the switch line, definitions, counting and
// the warnings, from text in memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/pass_definition_file.h"
#include "core/pass_definition.h"

namespace {

using namespace test_id;
using Warnings = std::vector<std::string>;

// What reading `text` should give: the warnings in order, progress_total
// and the tests passed over.
struct Case {
  std::string text;
  Warnings warnings;
  int32_t total;
  std::vector<int> skipped;
};

void expect_reads(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    std::string bytes = c.text;
    FILE* file = fmemopen(bytes.data(), bytes.size(), "r");
    ASSERT_NE(file, nullptr);
    Warnings warnings;
    const PassSelection selection =
        parse_pass_definition(file, [&](const std::string& text) { warnings.push_back(text); });
    std::fclose(file);
    std::vector<int> skipped;
    for (int id = 0; id < TEST_COUNT; ++id) {
      if (selection.skip_flags[id]) skipped.push_back(id);
    }
    EXPECT_EQ(warnings, c.warnings);
    EXPECT_EQ(selection.progress_total, c.total);
    EXPECT_EQ(skipped, c.skipped);
  }
}

TEST(PassDefinitionSwitch, WithoutEnableEveryTestRuns) {
  EXPECT_EQ(parse_pass_definition(nullptr, [](const std::string&) {}).progress_total, TEST_COUNT);
  const std::string long_word(200, 's');
  expect_reads({
      {"", {}, TEST_COUNT, {}},
      {"# only a comment\n\n# another\n", {}, TEST_COUNT, {}},
      {"# header\ndisable more words\nlines pass\nnonsense\n", {}, TEST_COUNT, {}},
      {"Enable\nlines pass\n", {"Unknown switch Enable"}, TEST_COUNT, {}},
      {"   \nlines pass\n", {"Unknown switch "}, TEST_COUNT, {}},
      // Spaces before a comment leave a line that is not empty.
      {"  # indented comment\nenable\n", {"Unknown switch "}, TEST_COUNT, {}},
      {long_word + "\n", {"Unknown switch " + long_word}, TEST_COUNT, {}},
  });
}

TEST(PassDefinitionLines, CommandsKeywordsAndSyntax) {
  expect_reads({
      {"enable\n# 3D tests\nlines go\nblur pass\nscaling 0 # not today\n", {}, 1, {scaling, blur}},
      {"enable\nlines GO\nLines pass\nlines Pass\n",
       {"Unknown command GO", "Unknown keyword Lines", "Unknown command Pass"},
       0,
       {}},
      // Line numbers count comments, empty lines and the switch line.
      {"# comment\n\nenable\n   \n# comment\n\nlines\nlines# after the keyword\nlines \n"
       "   blur   pass   \n",
       {"Syntax Error line 4", "Syntax Error line 7", "Syntax Error line 8", "Unknown command "},
       0,
       {blur}},
      {"enable\r\nlines pass extra words\r\n\tpoints\t\t0\t\r\nblur 1\r\nspot_light\r\n",
       {"Syntax Error line 5"},
       1,
       {lines, points}},
      // CR alone ends a line too, as do LF and CR LF.
      {"enable\rlines pass\rblur go\r\rpoints pass", {}, 1, {lines, points}},
      {"enable\r\n\rlines\r\n", {"Syntax Error line 3"}, 0, {}},
  });
}

TEST(PassDefinitionCounting, EveryRunLineCountsAndTheLastLineWins) {
  std::string all_go = "enable\n";
  for (const TestInfo& info : test_catalogue) all_go += std::string(info.keyword) + " go\n";
  expect_reads({
      {"enable\n", {}, 0, {}},
      {"enable\nlines go\npoints 1\n", {}, 2, {}},
      {"enable\nlines go\nlines go\n", {}, 2, {}},
      {"enable\nlines pass\nlines go\n", {}, 1, {}},
      {"enable\nlines go\nlines pass\nbogus go\n", {"Unknown keyword bogus"}, 1, {lines}},
      {all_go, {}, TEST_COUNT, {}},
  });
}

TEST(PassDefinitionOddInput, LongLinesLongWordsAndNulBytes) {
  // A line is read up to 254 characters, here just after "lines "; the rest
  // is left out with one warning, and the line numbers go on.
  const std::string piece = std::string(248, ' ') + "lines ";
  const std::string too_long = "Line 2 is longer than 254 characters; the rest is ignored";
  // A comment that runs past 254 characters stays a comment to its end.
  const std::string comment = "# " + std::string(251, 'x') + " blur go";
  // A CR LF pair right at the boundary is still one line end.
  const std::string full = std::string(247, ' ') + "blur 0";
  const std::string word(200, 'k');
  expect_reads({
      {"enable\n" + piece + "blur pass\nx\n",
       {too_long, "Unknown command ", "Syntax Error line 3"},
       0,
       {}},
      {"enable\n" + comment + "\nlines 0\n", {too_long}, 0, {lines}},
      {"enable\n" + full + "\r\nlines 0\nx\n", {"Syntax Error line 4"}, 0, {lines, blur}},
      {"enable\n" + word + " go\nlines " + word + "\n",
       {"Unknown keyword " + word, "Unknown command " + word},
       0,
       {}},
      {std::string("enable\nlines\0 pass\nblur pass", 28), {"Syntax Error line 2"}, 0, {blur}},
  });
}

TEST(PassDefinitionWords, FirstWordAndSplit) {
  EXPECT_EQ(first_word("  lines go"), "lines");
  EXPECT_EQ(first_word("   "), "");
  std::string_view keyword = "unchanged";
  std::string_view command = "unchanged";
  EXPECT_FALSE(split_two_words("  lines", &keyword, &command));
  EXPECT_FALSE(split_two_words("   ", &keyword, &command));
  EXPECT_EQ(keyword, "unchanged");
  EXPECT_TRUE(split_two_words(" lines   go  more", &keyword, &command));
  EXPECT_EQ(keyword, "lines");
  EXPECT_EQ(command, "go");
}

TEST(PassDefinition, SelectingTestsByKeywordPassesOverEveryOther) {
  std::vector<std::string> unknown;
  const PassSelection selection = select_tests("blur,lines,blur", &unknown);
  EXPECT_TRUE(unknown.empty());
  EXPECT_EQ(selection.progress_total, 2);
  for (int id = 0; id < TEST_COUNT; ++id) {
    EXPECT_EQ(selection.skip_flags[id], id == blur || id == lines ? 0 : 1) << id;
  }
  select_tests("lines,nope,", &unknown);
  EXPECT_EQ(unknown, (std::vector<std::string>{"nope", ""}));
  select_tests(",", &unknown);
  EXPECT_EQ(unknown, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(select_tests("3D,lines", &unknown).progress_total, LAST_3D_TEST - FIRST_3D_TEST + 1);
  EXPECT_EQ(select_tests("2d,blur", &unknown).progress_total, LAST_2D_TEST - FIRST_2D_TEST + 2);
}

TEST(PassDefinitionFile, ReadsTheNamedFile) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tarvelin-pass-" + std::to_string(getpid()));
  std::ofstream(path) << "enable\nblur pass\nlines go\n";
  PassSelection selection = read_pass_definition(path.c_str());
  EXPECT_EQ(selection.skip_flags[blur], 1);
  EXPECT_EQ(selection.skip_flags[scaling], 0);
  EXPECT_EQ(selection.progress_total, 1);

  std::filesystem::remove(path);
  selection = read_pass_definition(path.c_str());
  EXPECT_EQ(selection.skip_flags[blur], 0);
  EXPECT_EQ(selection.progress_total, TEST_COUNT);
}

}  // namespace
