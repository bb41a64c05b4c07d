// The report file as the run sequence writes it: created whole or not at
// all, never leaving a half-written file in place of the previous one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/run_options.h"
#include "report/report.h"

namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarvelin-report-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    for (int id = 0; id < TEST_COUNT; ++id) {
      results.test_times[id][0] = test_catalogue[id].reference;
    }
    set_result_file(folder / "result.tvl");
    // Reports that cannot be written where asked go here.
    fs::create_directory(spare());
    if (const char* tmpdir = std::getenv("TMPDIR")) saved_tmpdir = tmpdir;
    setenv("TMPDIR", spare().c_str(), 1);
  }

  void TearDown() override {
    close_report();
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
    if (saved_tmpdir.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", saved_tmpdir.c_str(), 1);
    }
  }

  void set_result_file(const fs::path& path) { run_options.report_file = path.string(); }

  // Names in the folder besides the report itself and the spare folder.
  int stray_files() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const fs::path name = entry.path().filename();
      if (name != "result.tvl" && name != "spare") ++count;
    }
    return count;
  }

  // The one report saved in the temporary folder; empty when there is none.
  fs::path saved_report() const {
    fs::path found;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(spare())) {
      found = entry.path();
      ++count;
    }
    return count == 1 ? found : fs::path();
  }

  fs::path folder;
  fs::path report() const { return folder / "result.tvl"; }
  fs::path spare() const { return folder / "spare"; }
  std::string saved_tmpdir;

  // The run's settings, environment and results that the report reads.
  RunOptions run_options;
  EnvironmentInfo environment_info;
  RunResults results;
  ::ReportFile report_file_writer{run_options, environment_info, results};
  void write_environment_status() { report_file_writer.write_environment_status(); }
  void write_results() { report_file_writer.write_results(); }
  void close_report() { report_file_writer.close_report(); }
  bool report_failed() const { return report_file_writer.report_failed(); }
  const char* written_report_path() const { return report_file_writer.written_report_path(); }
  FILE* report_file() const { return report_file_writer.report_file; }
};

constexpr const char* OLD_REPORT = "the previous report\n";

TEST_F(ReportFileTest, ReplacesThePreviousReportOnlyWhenComplete) {
  write_file(report(), OLD_REPORT);
  write_environment_status();
  ASSERT_NE(report_file(), nullptr);
  EXPECT_EQ(read_file(report()), OLD_REPORT);

  write_results();
  EXPECT_EQ(report_file(), nullptr);
  EXPECT_FALSE(report_failed());
  const std::string text = read_file(report());
  EXPECT_EQ(
      text.rfind(std::string("# Tarvelin ") + VERSION_TEXT + "\n#   function auto check mode\n\n",
                 0),
      0u);
  EXPECT_NE(text.find("\n\n# result : 100.0 or higher is best\n\n3D swap_buffer "),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("3D total : 100.000000\n2D total : 100.000000\n"));
  EXPECT_EQ(stray_files(), 0);
}

TEST_F(ReportFileTest, StatusOnlyReportEndsAfterThe2dBlock) {
  run_options.status_only = true;
  run_options.loops = 5;
  write_environment_status();
  close_report();
  const std::string text = read_file(report());
  EXPECT_NE(text.find("#   5 loops\n"), std::string::npos);
  EXPECT_TRUE(
      text.ends_with("# 2D testing environment (single buffer)\n"
                     "RED Bits         : 0\n"
                     "GREEN Bits       : 0\n"
                     "BLUE Bits        : 0\n"
                     "\n"));
}

TEST_F(ReportFileTest, NewReportGetsTheUsualPermissions) {
  const mode_t mask = umask(022);
  write_environment_status();
  close_report();
  umask(mask);
  EXPECT_EQ(fs::status(report()).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_read | fs::perms::others_read);
}

TEST_F(ReportFileTest, TestLoopAndEndlessRunsCreateNoFile) {
  run_options.test_loop = true;
  write_environment_status();
  write_results();
  EXPECT_EQ(report_file(), nullptr);

  run_options.test_loop = false;
  run_options.loops = -1;
  write_environment_status();
  write_results();
  EXPECT_EQ(report_file(), nullptr);
  EXPECT_FALSE(fs::exists(report()));
  EXPECT_EQ(stray_files(), 0);
  EXPECT_FALSE(report_failed());
}

// A report that cannot be created where asked is never lost: it goes whole
// to the temporary folder, and the message says why and where.
TEST_F(ReportFileTest, UncreatableReportGoesToTheTemporaryFolderAndSaysWhy) {
  struct Case {
    fs::path name;
    const char* reason;
  };
  fs::create_directory(folder / "folder");
  const Case cases[] = {
      {folder / "missing" / "result.tvl", "No such file or directory"},
      {folder / "folder", "Is a directory"},
      {"", "No such file or directory"},
  };
  for (const Case& c : cases) {
    set_result_file(c.name);
    testing::internal::CaptureStderr();
    write_environment_status();
    EXPECT_EQ(report_file(), nullptr);
    write_results();
    const std::string said = testing::internal::GetCapturedStderr();
    const fs::path saved = saved_report();
    ASSERT_FALSE(saved.empty()) << c.name;
    EXPECT_EQ(said, "Error : file " + c.name.string() + " not created (" + c.reason +
                        "); the report was written to " + saved.string() + " instead.\n");
    EXPECT_TRUE(read_file(saved).ends_with("3D total : 100.000000\n2D total : 100.000000\n"));
    EXPECT_EQ(written_report_path(), saved.string());
    EXPECT_TRUE(report_failed());
    fs::remove(saved);
  }
  EXPECT_TRUE(fs::is_empty(folder / "folder"));
}

// The temporary name fits beside a report name as long as any the folder
// can hold.
TEST_F(ReportFileTest, LongestFileNameIsWritten) {
  const fs::path here = fs::current_path();
  fs::current_path(folder);
  set_result_file(std::string(255, 'a'));
  write_environment_status();
  write_results();
  fs::current_path(here);
  EXPECT_FALSE(report_failed());
  EXPECT_TRUE(read_file(folder / std::string(255, 'a')).ends_with("2D total : 100.000000\n"));
  EXPECT_EQ(stray_files(), 1);  // the report itself
  EXPECT_TRUE(saved_report().empty());
}

// Runs `steps` in a child process without root's privileges (as nobody when
// the tests run as root), with the folder handed to that user; stderr goes
// to `said`. Returns the child's exit status.
int run_unprivileged(const fs::path& folder, const fs::path& said, ::ReportFile& report,
                     void (*steps)(::ReportFile&)) {
  const bool root = geteuid() == 0;
  constexpr uid_t NOBODY = 65534;
  if (root) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      EXPECT_EQ(chown(entry.path().c_str(), NOBODY, NOBODY), 0);
    }
    EXPECT_EQ(chown(folder.c_str(), NOBODY, NOBODY), 0);
  }
  const pid_t child = fork();
  if (child == 0) {
    if (root && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)) _exit(2);
    if (std::freopen(said.c_str(), "w", stderr) == nullptr) _exit(3);
    steps(report);
    std::fflush(stderr);
    _exit(report.report_failed() ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// In a folder the user cannot write to, an existing report that may be
// written is written in place; one that does not exist yet goes to the
// temporary folder.
TEST_F(ReportFileTest, ReadOnlyFolderWritesTheReportInPlaceOrElsewhere) {
  write_file(report(), OLD_REPORT);
  fs::permissions(spare(), fs::perms::all);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const fs::path said = spare() / "said.txt";
  EXPECT_EQ(run_unprivileged(folder, said, report_file_writer,
                             [](::ReportFile& report) {
                               report.write_environment_status();
                               report.write_results();
                             }),
            0);
  EXPECT_EQ(read_file(said), "");
  EXPECT_TRUE(read_file(report()).ends_with("2D total : 100.000000\n"));
  EXPECT_EQ(stray_files(), 0);

  set_result_file(folder / "new.tvl");
  EXPECT_EQ(run_unprivileged(folder, said, report_file_writer,
                             [](::ReportFile& report) {
                               report.write_environment_status();
                               report.close_report();
                             }),
            1);
  EXPECT_TRUE(read_file(said).starts_with("Error : file " + (folder / "new.tvl").string() +
                                          " not created (Permission denied); the report was "
                                          "written to " +
                                          spare().string() + "/tarvelin-report-"))
      << read_file(said);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_FALSE(fs::exists(folder / "new.tvl"));
  EXPECT_EQ(stray_files(), 0);
}

// Lets this process write files of at most `bytes`, whoever it runs as.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, saved_handler_);
  }

 private:
  rlimit saved_{};
  sighandler_t saved_handler_;
};

TEST_F(ReportFileTest, FailedWriteKeepsThePreviousReportAndSaysWhy) {
  write_file(report(), OLD_REPORT);
  write_environment_status();
  ASSERT_NE(report_file(), nullptr);
  testing::internal::CaptureStderr();
  {
    const FileSizeLimit limit(1000);  // binds the copy in the temporary folder too
    write_results();
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(said.starts_with("Error : file " + report().string() +
                               " not written (write failed: File too large); no copy could be "
                               "written to " +
                               spare().string() + "/tarvelin-report-"))
      << said;
  EXPECT_TRUE(said.ends_with(".tvl either (write failed: File too large).\n")) << said;
  EXPECT_TRUE(report_failed());
  EXPECT_EQ(report_file(), nullptr);
  EXPECT_EQ(written_report_path(), nullptr);
  EXPECT_EQ(read_file(report()), OLD_REPORT);
  EXPECT_EQ(stray_files(), 0);
  EXPECT_TRUE(fs::is_empty(spare()));

  write_environment_status();
  EXPECT_FALSE(report_failed());
}

TEST_F(ReportFileTest, LinkedReportReplacesTheFileTheLinkNames) {
  write_file(folder / "kept.tvl", OLD_REPORT);
  fs::create_symlink("kept.tvl", report());
  write_environment_status();
  write_results();
  EXPECT_TRUE(fs::is_symlink(report()));
  EXPECT_TRUE(read_file(folder / "kept.tvl").ends_with("2D total : 100.000000\n"));
}

}  // namespace
