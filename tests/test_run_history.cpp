// The history of runs: names, order, keeping without replacing, where it
// lives; and what the results window says about a run and the one before.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/results_window.h"
#include "core/run_history.h"

namespace {

namespace fs = std::filesystem;

struct HistoryFolder : testing::Test {
  void SetUp() override {
    char name[] = "/tmp/tarvelin-history-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root = name;
  }
  void TearDown() override { fs::remove_all(root); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(root + "/" + name) << text;
  }
  std::string root;
};

std::string read_text(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

std::string source_file(const std::string& name) {
  const char* dir = std::getenv("TARVELIN_SOURCE_DIR");
  const fs::path root =
      dir && *dir ? fs::path(dir) : fs::path(__FILE__).parent_path().parent_path();
  return read_text(root / name);
}

TEST_F(HistoryFolder, RunsAreListedByStartThenNumberAndOnlyOurNamesCount) {
  EXPECT_EQ(history_name("2026-12-08T21:30:27Z"), "2026-12-08T21-30-27Z.json");
  for (const char* name :
       {"2026-12-08T21-30-27Z_10.json", "2026-12-08T21-30-27Z_2.json", "2026-12-08T21-30-27Z.json",
        "2026-12-07T23-59-59Z.json",
        // not made by history_name: left alone
        "notes.json", "2026-12-08T21-30-27Z_1.json", "2026-12-08T21-30-27Z_02.json",
        "2026-12-08T21-30-27.json", "2026-12-08T21-30-27Z.json.bak"}) {
    write(name, "{}");
  }
  // Of a run's name, but a pipe (which a reader would wait on for ever) and
  // a folder: no runs.
  ASSERT_EQ(mkfifo((root + "/2026-12-09T00-00-00Z.json").c_str(), 0600), 0);
  fs::create_directory(root + "/2026-12-09T00-00-01Z.json");
  std::vector<std::string> names;
  for (const std::string& path : history_runs(root)) names.push_back(fs::path(path).filename());
  EXPECT_EQ(names, (std::vector<std::string>{
                       "2026-12-07T23-59-59Z.json", "2026-12-08T21-30-27Z.json",
                       "2026-12-08T21-30-27Z_2.json", "2026-12-08T21-30-27Z_10.json"}));
  EXPECT_TRUE(history_runs(root + "/missing").empty());
}

TEST_F(HistoryFolder, KeepingNeverReplacesAndFailsWithAReason) {
  const std::string folder = root + "/data/tarvelin/runs";
  const std::string first = keep_run(folder, "2026-12-08T21:30:27Z", "{\"a\": 1}\n");
  const std::string second = keep_run(folder, "2026-12-08T21:30:27Z", "{\"b\": 2}\n");
  EXPECT_EQ(first, folder + "/2026-12-08T21-30-27Z.json");
  EXPECT_EQ(second, folder + "/2026-12-08T21-30-27Z_2.json");
  EXPECT_EQ(read_text(first), "{\"a\": 1}\n");
  EXPECT_EQ(read_text(second), "{\"b\": 2}\n");
  EXPECT_EQ(history_runs(folder).size(), 2u) << "nothing else is left in the folder";

  write("file", "");
  try {
    keep_run(root + "/file/runs", "2026-12-08T21:30:27Z", "{}");
    ADD_FAILURE() << "a folder under a file cannot be made";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(),
                 ("cannot keep the run in " + root + "/file/runs: Not a directory").c_str());
  }
}

TEST(HistoryPlace, XdgDataHomeWhenAbsoluteElseHome) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/u", 1);
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(history_folder(), "/data/tarvelin/runs");
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_EQ(history_folder(), "/home/u/.local/share/tarvelin/runs");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(history_folder(), "/home/u/.local/share/tarvelin/runs");
  unsetenv("HOME");
  EXPECT_EQ(history_folder(), "");
  setenv("HOME", home.c_str(), 1);
}

TEST_F(HistoryFolder, ThePreviousRunIsTheLatestOfTheSameRendererThatReads) {
  const std::string llvmpipe = source_file("tests/compare/run_a.json");
  const std::string softpipe = source_file("tests/compare/run_b.json");
  write("2026-12-01T10-00-00Z.json", llvmpipe);
  write("2026-12-02T10-00-00Z.json", llvmpipe);
  write("2026-12-03T10-00-00Z.json", softpipe);
  write("2026-12-04T10-00-00Z.json", "{ damaged");
  const std::optional<RunFile> previous =
      previous_run(root, std::string("llvmpipe (LLVM 15.0.6, 256 bits)"));
  ASSERT_TRUE(previous);
  EXPECT_EQ(previous->path, root + "/2026-12-02T10-00-00Z.json");
  EXPECT_FALSE(previous_run(root, std::string("another")));
  EXPECT_FALSE(previous_run(root + "/missing", std::string("softpipe")));
}

TEST(ResultsSummary, NamesTheRunBeforeWithTotalsAndRatiosOrSaysThereIsNone) {
  RunFile run;
  run.renderer = "llvmpipe";
  run.started = "2026-12-08T21:30:27Z";
  run.quarter = true;
  run.total_3d.total = 110.0;
  run.total_2d.implemented = 50.0;
  RunFile before = run;
  before.started = "2026-12-01T10:00:00Z";
  before.path = "/h/2026-12-01T10-00-00Z.json";
  before.total_3d.total = 100.0;
  const KeptRun kept{"/h", "/h/2026-12-08T21-30-27Z.json", ""};
  EXPECT_EQ(results_summary(run, before, "Verdict: trusted\n", kept),
            "This run: llvmpipe, started 2026-12-08T21:30:27Z, quarter time; kept as "
            "/h/2026-12-08T21-30-27Z.json\n"
            "Before it: the run of 2026-12-01T10:00:00Z on the same renderer "
            "(/h/2026-12-01T10-00-00Z.json); totals decided with a threshold of 5%\n"
            "3D total: 110.0  (before: 100.0, x1.10, cannot tell: no passes recorded)\n"
            "2D total: 50.0 implemented  (before: 50.0 implemented)\n"
            "Verdict: trusted\n");
  const KeptRun not_kept{"/h", "",
                         "cannot keep the run in /h: Permission denied; this run is not kept"};
  EXPECT_EQ(results_summary(run, std::nullopt, "", not_kept),
            "This run: llvmpipe, started 2026-12-08T21:30:27Z, quarter time\n"
            "Before it: no run of this renderer is kept in /h\n"
            "3D total: 110.0\n"
            "2D total: 50.0 implemented\n"
            "History: cannot keep the run in /h: Permission denied; this run is not kept\n");
}

// Each total's ratio says what it can claim from the two runs' passes.
TEST(ResultsSummary, ATotalsRatioSaysWhatItCanClaim) {
  RunFile run;
  run.total_3d.total = 110.0;
  run.total_3d.pass_values = {110.0};
  run.total_2d.total = 100.0;
  run.total_2d.pass_values = std::vector<double>(5, 100.0);
  RunFile before = run;
  before.total_3d.total = 100.0;
  before.total_3d.pass_values = {100.0};
  const std::string text = results_summary(run, before, "", KeptRun{});
  EXPECT_NE(text.find("3D total: 110.0  (before: 100.0, x1.10, cannot tell: one pass each)\n"),
            std::string::npos);
  EXPECT_NE(text.find("2D total: 100.0  (before: 100.0, x1.00, same)\n"), std::string::npos);
  // Without a total decided, the threshold goes unnamed.
  RunFile partial;
  partial.total_3d.implemented = 90.0;
  EXPECT_EQ(results_summary(partial, partial, "", KeptRun{}).find("threshold"), std::string::npos);
}

}  // namespace
