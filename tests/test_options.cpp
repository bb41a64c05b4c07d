// The command-line scan: what each word does to the settings, and what the
// user is told when a word is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"
#include "core/run_options.h"

namespace {

class OptionScan : public ::testing::Test {
 protected:
  // Runs the scan on argv = {program, words...} into options_ and message_.
  void scan(std::vector<std::string> words, const char* program = "tarvelin") {
    args_ = {program};
    for (auto& w : words) args_.push_back(w);
    std::vector<char*> argv;
    for (auto& a : args_) argv.push_back(a.data());
    table_ = WordTable{};
    split_command_line(static_cast<int>(argv.size()), argv.data(), &table_, options_, message_);
    if (!options_.exit_requested) parse_options(table_, options_, message_);
  }

  RunOptions options_;
  OptionMessage message_;
  std::vector<std::string> args_;
  WordTable table_;
};

TEST_F(OptionScan, NoArgumentsChangesNothing) {
  scan({});
  EXPECT_EQ(table_.count, 1);
  EXPECT_EQ(options_.loops, 1);
  EXPECT_EQ(options_.report_file, "result.tvl");
  EXPECT_EQ(options_.pass_file, "pass.def");
  EXPECT_EQ(options_.auto_pass, 1);
  EXPECT_EQ(options_.show_count, 1);
  EXPECT_EQ(options_.depth_bits, 32);
  EXPECT_EQ(options_.vsync, 0);
  EXPECT_EQ(options_.exit_requested, 0);
}

// Every field of the settings on one line, so that a failed comparison shows
// all that a scan changed.
std::string describe(const RunOptions& o) {
  std::ostringstream s;
  s << "loops=" << o.loops << " report_file=" << o.report_file << " pass_file=" << o.pass_file
    << " quarter=" << o.quarter << " auto_pass=" << o.auto_pass << " status_only=" << o.status_only
    << " test_loop=" << o.test_loop << " stop_screen_saver=" << o.stop_screen_saver
    << " show_count=" << o.show_count << " depth_bits=" << o.depth_bits << " vsync=" << o.vsync
    << " check_pictures=" << o.check_pictures << " loops_given=" << o.loops_given
    << " precision=" << o.precision_percent << " budget=" << o.budget_seconds
    << " json_file=" << o.json_file << " csv_file=" << o.csv_file << " only_tests=" << o.only_tests
    << " validate_dir=" << o.validate_dir << " exit_requested=" << o.exit_requested
    << " usage_error=" << o.usage_error << " batch=" << o.batch << " offscreen=" << o.offscreen
    << " egl_device=" << o.egl_device;
  return s.str();
}

// Each option alone, from the defaults: the whole record must be the
// defaults with just that option's fields changed.
TEST_F(OptionScan, EachOptionChangesItsFieldsAndNoOther) {
  const struct {
    std::vector<std::string> words;
    void (*change)(RunOptions&);
  } cases[] = {
      {{"-loop", "3"}, [](RunOptions& o) { o.loops = 3, o.loops_given = true; }},
      {{"-loop", "-1"},
       [](RunOptions& o) { o.loops = -1, o.show_count = false, o.loops_given = true; }},
      {{"-f", "out.tvl"}, [](RunOptions& o) { o.report_file = "out.tvl"; }},
      {{"-def", "my.def"}, [](RunOptions& o) { o.pass_file = "my.def"; }},
      {{"-quarter"}, [](RunOptions& o) { o.quarter = true; }},
      {{"-no_autopass"}, [](RunOptions& o) { o.auto_pass = false; }},
      {{"-statusonly"}, [](RunOptions& o) { o.status_only = true, o.show_count = false; }},
      {{"-nocount"}, [](RunOptions& o) { o.show_count = false; }},
      {{"-test"}, [](RunOptions& o) { o.test_loop = true; }},
      {{"-zbits", "16"}, [](RunOptions& o) { o.depth_bits = 16; }},
      {{"-vsync"}, [](RunOptions& o) { o.vsync = true; }},
      {{"-nocheck"}, [](RunOptions& o) { o.check_pictures = false; }},
      {{"-precision", "2.5"}, [](RunOptions& o) { o.precision_percent = 2.5; }},
      {{"-precision", "100"}, [](RunOptions& o) { o.precision_percent = 100; }},
      {{"-precision", "2", "-budget", "60"},
       [](RunOptions& o) { o.precision_percent = 2, o.budget_seconds = 60; }},
      {{"-json", "r.json"}, [](RunOptions& o) { o.json_file = "r.json"; }},
      {{"-csv", "r.csv"}, [](RunOptions& o) { o.csv_file = "r.csv"; }},
      {{"-only", "lines,blur"}, [](RunOptions& o) { o.only_tests = "lines,blur"; }},
      {{"-validate", "pictures"}, [](RunOptions& o) { o.validate_dir = "pictures"; }},
      {{"-offscreen"}, [](RunOptions& o) { o.offscreen = true; }},
      {{"-device", "2"}, [](RunOptions& o) { o.offscreen = true, o.egl_device = 2; }},
      {{"-device", "0"}, [](RunOptions& o) { o.offscreen = true, o.egl_device = 0; }},
      {{"-device", "two"}, [](RunOptions& o) { o.exit_requested = true, o.usage_error = true; }},
      {{"-device", " 0"}, [](RunOptions& o) { o.exit_requested = true, o.usage_error = true; }},
      {{"-device", "+0"}, [](RunOptions& o) { o.exit_requested = true, o.usage_error = true; }},
      {{"-device", "-1"}, [](RunOptions& o) { o.exit_requested = true, o.usage_error = true; }},
  };
  for (const auto& c : cases) {
    options_ = RunOptions{};
    scan(c.words);
    RunOptions expected;
    c.change(expected);
    EXPECT_EQ(describe(options_), describe(expected)) << c.words[0];
  }
}

TEST_F(OptionScan, ResultFilesAndOnlyTakeTheirValuesAndUnknownTestsAreNamed) {
  scan({"-json", "r.json", "-csv", "r.csv", "-only", "lines,blur"});
  EXPECT_EQ(options_.json_file, "r.json");
  EXPECT_EQ(options_.csv_file, "r.csv");
  EXPECT_EQ(options_.only_tests, "lines,blur");
  EXPECT_EQ(options_.exit_requested, 0);

  options_ = RunOptions{};
  scan({"-only", "lines,Blur,,points"});
  EXPECT_EQ(options_.usage_error, 1);
  EXPECT_STREQ(message_.text, "Unknown tests 'Blur,' in -only\n  '-list' option lists the tests");
  EXPECT_EQ(options_.only_tests, "");

  // Every -only adds to the ones before; group words name a whole group.
  options_ = RunOptions{};
  scan({"-only", "lines", "-only", "2d,blur"});
  EXPECT_EQ(options_.only_tests, "lines,2d,blur");
  EXPECT_EQ(options_.exit_requested, 0);
}

// A command line that contradicts itself is refused, naming what is wrong,
// rather than run with one of its words quietly dropped.
TEST_F(OptionScan, ContradictionsAndEmptyWordsAreUsageErrors) {
  const struct {
    std::vector<std::string> words;
    const char* message;
  } cases[] = {
      {{"-f", "same", "-json", "./same"},
       "-f same and -json ./same name the same file: one would replace the other"},
      {{"-json", "x", "-csv", "x"},
       "-json x and -csv x name the same file: one would replace the other"},
      {{"-json", ""}, "Option '-json' needs a filename, not an empty word"},
      {{"-validate", ""}, "Option '-validate' needs a folder, not an empty word"},
      {{"-only", ","}, "Option '-only' names no test\n  '-list' option lists the tests"},
      {{"-only", ""}, "Option '-only' names no test\n  '-list' option lists the tests"},
      {{"-validate", "d", "-statusonly"},
       "-validate cannot be combined with -statusonly: a status-only run draws no picture"},
      {{"-no_autopass", "-validate", "d"},
       "-validate cannot be combined with -no_autopass: the reference pictures are drawn with "
       "the automatic check on"},
      {{"-validate", "d", "-only", "lines"},
       "-validate cannot be combined with -only: a validation draws every test"},
      {{"-validate", "d", "-nocheck"},
       "-validate cannot be combined with -nocheck: a validation is a check of the pictures"},
      {{"-precision", "0"},
       "Precision '0' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "100.5"},
       "Precision '100.5' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "2%"},
       "Precision '2%' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "2", "-budget", "nan"},
       "Budget 'nan' is not a number of seconds above 0 (up to a year)"},
      {{"-budget", "60"}, "-budget bounds a run with -precision, and there is none"},
      {{"-precision", "2", "-loop", "-1"},
       "-precision cannot be combined with an endless -loop: it stops at its target"},
      {{"-precision", "2", "-loop", "3"},
       "-precision needs -loop 4 or more: a target is judged on the interval of 4 passes or "
       "more, and -loop 3 allows 3"},
      {{"-precision", "50", "-loop", "0"},
       "-precision needs -loop 4 or more: a target is judged on the interval of 4 passes or "
       "more, and -loop 0 allows 1"},
      // One number syntax with tarvelin-compare's -threshold: decimal digits alone.
      {{"-precision", "0x10"},
       "Precision '0x10' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", " 5"},
       "Precision ' 5' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "+5"},
       "Precision '+5' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "0x1p-3"},
       "Precision '0x1p-3' is not a percentage above 0 and up to 100 (e.g. 2 or 0.5)"},
      {{"-precision", "2", "-test"},
       "-precision cannot be combined with -test: it times nothing to score"},
      {{"-validate", "d", "-precision", "2"},
       "-validate cannot be combined with -precision: a validation draws one pass"},
      {{"-history", "-statusonly"},
       "-history cannot be combined with -statusonly: a status-only run has no scores to keep"},
      {{"-loop", "-1", "-history"},
       "-history cannot be combined with an endless -loop: an endless run has no scores to keep"},
      {{"-history", "-validate", "d"},
       "-history cannot be combined with -validate: a validation has no scores to keep"},
      {{"-batch", "-turns", "999"},
       "-turns '999' is not an open file descriptor: -turns is for tarvelin-compare -ab, which "
       "hands the run its socket"},
      {{"-batch", "-turns", "+2"},
       "-turns '+2' is not an open file descriptor: -turns is for tarvelin-compare -ab, which "
       "hands the run its socket"},
      {{"-turns", "2"},
       "-turns cannot be combined with a desktop run (give -batch or -offscreen): "
       "tarvelin-compare -ab decides the passes of a timed run"},
      {{"-batch", "-turns", "2", "-loop", "3"},
       "-turns cannot be combined with -loop: tarvelin-compare -ab decides the passes of a timed "
       "run"},
      {{"-batch", "-turns", "2", "-precision", "3"},
       "-turns cannot be combined with -precision: tarvelin-compare -ab decides the passes of a "
       "timed run"},
  };
  for (const auto& c : cases) {
    options_ = RunOptions{};
    // As take_mode_options leaves it before the scan.
    options_.batch = std::find(c.words.begin(), c.words.end(), "-batch") != c.words.end();
    std::strcpy(message_.text, "");
    scan(c.words);
    EXPECT_EQ(options_.usage_error, 1) << c.words[0];
    const std::string text = message_.text;
    EXPECT_EQ(text.substr(0, text.find("\n  '-help'")), c.message) << c.words[0];
  }
  // The least -loop a target can be judged in, and a decimal fraction.
  options_ = RunOptions{};
  scan({"-precision", "2.5", "-loop", "4"});
  EXPECT_EQ(options_.usage_error, 0);
  EXPECT_EQ(options_.precision_percent, 2.5);
  // Standard error stands for the socket tarvelin-compare hands a side.
  options_ = RunOptions{};
  options_.batch = true;
  scan({"-batch", "-turns", "2"});
  EXPECT_EQ(options_.usage_error, 0);
  EXPECT_EQ(options_.turns_fd, 2);
  // In a test loop no report is written: its name clashes with nothing.
  options_ = RunOptions{};
  scan({"-test", "-f", "same", "-def", "same"});
  EXPECT_EQ(options_.usage_error, 0);
}

// -help, -list, -devices and -version answer first, wherever they stand.
TEST_F(OptionScan, AnsweringOptionsWinWhateverElseTheLineHolds) {
  scan({"-bogus", "-help"});
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 0);
  EXPECT_EQ(std::string(message_.text).rfind("tarvelin [options]\n", 0), 0u);
  options_ = RunOptions{};
  scan({"-f", "-help", "-bogus"});  // a value, not an option
  EXPECT_EQ(options_.usage_error, 1);
}

TEST_F(OptionScan, NegativeLoopMeansEndlessWithoutCount) {
  scan({"-loop", "-5"});
  EXPECT_EQ(options_.loops, -1);
  EXPECT_EQ(options_.show_count, 0);
}

TEST_F(OptionScan, StatusOnlyTurnsTheCountOff) {
  scan({"-statusonly"});
  EXPECT_EQ(options_.status_only, 1);
  EXPECT_EQ(options_.show_count, 0);
}

TEST_F(OptionScan, NumbersAreReadLikeAtoi) {
  scan({"-loop", "abc", "-zbits", "24bits"});
  EXPECT_EQ(options_.loops, 0);
  EXPECT_EQ(options_.depth_bits, 24);
}

TEST_F(OptionScan, ArgumentIsTakenWhateverItIs) {
  scan({"-f", "-quarter"});
  EXPECT_EQ(options_.report_file, "-quarter");
  EXPECT_EQ(options_.quarter, 0);
}

// On the desktop a last option without its value has no effect; in batch
// mode it is a usage error, so that the default report is not overwritten.
TEST_F(OptionScan, MissingArgumentAtTheEndIsIgnoredOnTheDesktopRefusedInBatch) {
  scan({"-quarter", "-f"});
  EXPECT_EQ(options_.report_file, "result.tvl");
  EXPECT_EQ(options_.quarter, 1);
  EXPECT_EQ(options_.exit_requested, 0);
  EXPECT_STREQ(message_.text, "");

  options_ = RunOptions{};
  options_.batch = true;
  scan({"-quarter", "-def"});
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 1);
  EXPECT_STREQ(message_.text, "Option '-def' needs a value\n  '-help' option is help");
}

// A count beyond the 32-bit range is refused by name instead of wrapping to
// an endless run; within it, any negative count still means endless.
TEST_F(OptionScan, LoopCountOutOfRangeIsRefused) {
  for (const char* count : {"3000000000", "-2147483649", "99999999999999999999"}) {
    options_ = RunOptions{};
    scan({"-loop", count, "-quarter"});
    EXPECT_EQ(options_.exit_requested, 1) << count;
    EXPECT_EQ(options_.usage_error, 1) << count;
    EXPECT_EQ(options_.quarter, 0) << count;
    EXPECT_EQ(std::string(message_.text), std::string("Loop count '") + count +
                                              "' is out of range (-2147483648 to 2147483647)\n"
                                              "  '-help' option is help");
  }
  options_ = RunOptions{};
  scan({"-loop", "2147483647"});
  EXPECT_EQ(options_.loops, INT32_MAX);
  scan({"-loop", "-2147483648"});
  EXPECT_EQ(options_.loops, -1);
  EXPECT_EQ(options_.exit_requested, 0);
}

TEST_F(OptionScan, LastRepeatWins) {
  scan({"-loop", "2", "-loop", "7"});
  EXPECT_EQ(options_.loops, 7);
}

TEST_F(OptionScan, ComparisonIsCaseSensitive) {
  scan({"-Loop", "2"});
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 1);
  EXPECT_STREQ(message_.text, "Unknown option '-Loop'\n  '-help' option is help");
  EXPECT_EQ(options_.loops, 1);
}

TEST_F(OptionScan, ScanStopsAtTheUnknownWord) {
  scan({"-quarter", "-bogus", "-test"});
  EXPECT_EQ(options_.quarter, 1);
  EXPECT_EQ(options_.test_loop, 0);
  EXPECT_STREQ(message_.text, "Unknown option '-bogus'\n  '-help' option is help");
}

TEST_F(OptionScan, HelpShowsUsageAndEndsWithoutError) {
  scan({"-help", "-quarter"});
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 0);
  EXPECT_EQ(options_.quarter, 0);
  EXPECT_EQ(std::string(message_.text).rfind("tarvelin [options]\n", 0), 0u);
}

TEST_F(OptionScan, ProgramNameLosesItsFolders) {
  scan({"-help"}, "/usr/local/bin/tarvelin");
  EXPECT_STREQ(table_.words[0], "tarvelin");
  options_ = RunOptions{};
  scan({"-help"}, "C:\\tools\\bench.exe");
  EXPECT_STREQ(table_.words[0], "bench.exe");
  EXPECT_EQ(std::string(message_.text).rfind("bench.exe [options]\n", 0), 0u);
}

TEST_F(OptionScan, LongestFileNameFitsWhole) {
  const std::string name(255, 'n');
  scan({"-f", name});
  EXPECT_EQ(options_.exit_requested, 0);
  EXPECT_EQ(std::string(options_.report_file), name);
}

TEST_F(OptionScan, OverlongWordIsRefusedNotCut) {
  const std::string name(256, 'n');
  scan({"-quarter", "-f", name});
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 1);
  EXPECT_EQ(options_.report_file, "result.tvl");
  EXPECT_EQ(options_.quarter, 0) << "nothing is applied from a refused command line";
  EXPECT_NE(std::string(message_.text).find("Argument 3 is too long: 256 characters"),
            std::string::npos);
}

TEST_F(OptionScan, FifteenArgumentsFitSixteenDoNot) {
  std::vector<std::string> words(15, "-quarter");
  scan(words);
  EXPECT_EQ(options_.exit_requested, 0);
  EXPECT_EQ(table_.count, 16);
  words.push_back("-test");
  options_ = RunOptions{};
  scan(words);
  EXPECT_EQ(options_.exit_requested, 1);
  EXPECT_EQ(options_.usage_error, 1);
  EXPECT_NE(std::string(message_.text).find("Too many arguments: 16 given, at most 15"),
            std::string::npos);
}

TEST(UsageText, ListsEveryOptionThenVersionAndHomePage) {
  char text[MESSAGE_SIZE];
  format_usage("tarvelin", text, MESSAGE_SIZE);
  const std::string expected =
      std::string(
          "tarvelin [options]\n"
          "    -loop n\t: 'n' is loop numbers (-1 to endless)\n"
          "    -f filename\t: output file name (default : result.tvl)\n"
          "    -def filename\t: defines file name (default : pass.def)\n"
          "    -quarter\t: quarter loops (for slow machine)\n"
          "    -no_autopass\t: disable to auto check of support function\n"
          "    -statusonly\t: only status output\n"
          "    -nocount\t: no display title-bar count\n"
          "    -test\t\t: test loop\n"
          "    -zbits n\t: set depth-buffer bit size (default : 32)\n"
          "    -vsync\t\t: leave the swap interval to the driver (default : 0)\n"
          "    -precision P\t: passes until each test's 95% interval is within P % (at most "
          "-loop)\n"
          "    -budget S\t\t: with -precision: stop after S seconds (default : 600)\n"
          "    -nocheck\t\t: do not check the timed tests' pictures\n"
          "    -json filename\t: also write the results as JSON\n"
          "    -csv filename\t: also write the results as CSV\n"
          "    -history\t\t: keep the results in the history (desktop runs always do)\n"
          "    -only keywords\t: run only these tests (keywords, 2d or 3d, comma-separated)\n"
          "    -turns fd\t\t: take turns with tarvelin-compare -ab on socket fd (for it alone)\n"
          "    -validate folder\t: check every test's picture; differences go to folder\n"
          "    -batch\t\t: run unattended: no panel, messages on stderr\n"
          "    -offscreen\t\t: draw off-screen through EGL, without X (implies -batch)\n"
          "    -device n\t\t: draw off-screen on EGL device n (see -devices)\n"
          "    -devices\t\t: list the EGL devices and exit\n"
          "    -list\t\t: list the tests and exit\n"
          "    -version\t: print the version and exit\n"
          "    -help\t\t: this help\n"
          "\n            ") +
      VERSION_TEXT + "\n\n" + HOME_PAGE;
  EXPECT_EQ(std::string(text), expected);
}

// The text is written piece by piece; it must still be cut exactly where a
// single snprintf would cut it, and touch nothing past the terminator.
TEST(UsageText, IsCutAtTheBufferEndLikeSnprintf) {
  char full[MESSAGE_SIZE];
  format_usage("tarvelin", full, MESSAGE_SIZE);
  for (int size : {0, 1, 5, 12, 40}) {
    char text[64];
    std::memset(text, '#', sizeof text);
    format_usage("tarvelin", text, size);
    if (size > 0) {
      EXPECT_EQ(std::string(text), std::string(full, size - 1)) << size;
    }
    EXPECT_EQ(text[size], '#') << size;
  }
  const std::string name(MESSAGE_SIZE + 10, 'p');
  char text[MESSAGE_SIZE];
  format_usage(name.c_str(), text, MESSAGE_SIZE);
  EXPECT_EQ(std::string(text), name.substr(0, MESSAGE_SIZE - 1));
}

TEST(ModeOptions, BatchIsTakenOutWhereverItStandsAndOffscreenImpliesIt) {
  std::string a0 = "tarvelin", a1 = "-quarter", a2 = "-batch", a3 = "-test";
  char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data()};
  RunOptions options;
  const int argc = take_mode_options(4, argv, options);
  EXPECT_EQ(options.batch, 1);
  EXPECT_EQ(options.offscreen, 0);
  ASSERT_EQ(argc, 3);
  EXPECT_STREQ(argv[1], "-quarter");
  EXPECT_STREQ(argv[2], "-test");

  for (std::string word : {"-offscreen", "-device"}) {
    char* words[] = {a0.data(), word.data()};
    RunOptions offscreen;
    EXPECT_EQ(take_mode_options(2, words, offscreen), 2) << word;
    EXPECT_EQ(offscreen.batch, 1) << word;
    EXPECT_EQ(offscreen.offscreen, 1) << word;
  }

  // A mode word given as an option's value is that value, as the scan
  // takes it: a report named "-offscreen", a run that keeps -batch.
  std::string f = "-f", off = "-offscreen", json = "-json", batch = "-batch", q = "-quarter";
  char* valued[] = {a0.data(),    f.data(), off.data(),  json.data(),
                    batch.data(), q.data(), batch.data()};
  RunOptions as_values;
  ASSERT_EQ(take_mode_options(7, valued, as_values), 6);
  EXPECT_EQ(as_values.offscreen, 0);
  EXPECT_EQ(as_values.batch, 1);  // the last word only
  EXPECT_STREQ(valued[2], "-offscreen");
  EXPECT_STREQ(valued[4], "-batch");
  EXPECT_STREQ(valued[5], "-quarter");
}

}  // namespace
