// The report file as the run sequence writes it: created whole or not at
// all, never leaving a half-written file in place of the previous one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "catalogue/catalogue.h"
#include "report/report.h"
#include "scene3d/environment_info.h"
#include "shell/run_options.h"

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

class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarvelin-report-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    saved_options = run_options;
    saved_info = environment_info;
    run_options = RunOptions{};
    environment_info = EnvironmentInfo{};
    std::memset(skip_flags, 0, sizeof skip_flags);
    for (int id = 0; id < TEST_COUNT; ++id) test_times[id][0] = test_catalogue[id].reference;
    set_result_file(folder / "result.tvl");
  }

  void TearDown() override {
    close_report();
    run_options = saved_options;
    environment_info = saved_info;
    std::memset(test_times, 0, sizeof test_times);
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
  }

  void set_result_file(const fs::path& path) {
    std::snprintf(run_options.result_file, sizeof run_options.result_file, "%s", path.c_str());
  }

  // Names in the folder besides the report itself.
  int stray_files() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().filename() != "result.tvl") ++count;
    }
    return count;
  }

  fs::path folder;
  fs::path report() const { return folder / "result.tvl"; }
  RunOptions saved_options;
  EnvironmentInfo saved_info;
};

constexpr const char* OLD_REPORT = "the previous report\n";

TEST_F(ReportFile, ReplacesThePreviousReportOnlyWhenComplete) {
  write_file(report(), OLD_REPORT);
  write_environment_status();
  ASSERT_NE(report_file, nullptr);
  EXPECT_EQ(read_file(report()), OLD_REPORT);

  write_results();
  EXPECT_EQ(report_file, nullptr);
  EXPECT_FALSE(report_failed());
  const std::string text = read_file(report());
  EXPECT_EQ(text.rfind("# Tarvelin version 1.5.1\n#   function auto check mode\n\n", 0), 0u);
  EXPECT_NE(text.find("\n\n# result : 100.0 or higher is best\n\n3D swap_buffer "),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("3D total : 100.000000\n2D total : 100.000000\n"));
  EXPECT_EQ(stray_files(), 0);
}

TEST_F(ReportFile, StatusOnlyReportEndsAfterThe2dBlock) {
  run_options.status_only = 1;
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

TEST_F(ReportFile, NewReportGetsTheUsualPermissions) {
  const mode_t mask = umask(022);
  write_environment_status();
  close_report();
  umask(mask);
  EXPECT_EQ(fs::status(report()).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_read | fs::perms::others_read);
}

TEST_F(ReportFile, TestLoopAndEndlessRunsCreateNoFile) {
  run_options.test_loop = 1;
  write_environment_status();
  write_results();
  EXPECT_EQ(report_file, nullptr);

  run_options.test_loop = 0;
  run_options.loops = -1;
  write_environment_status();
  write_results();
  EXPECT_EQ(report_file, nullptr);
  EXPECT_FALSE(fs::exists(report()));
  EXPECT_EQ(stray_files(), 0);
  EXPECT_FALSE(report_failed());
}

TEST_F(ReportFile, UncreatableReportIsAnnouncedOnStderr) {
  set_result_file(folder / "missing" / "result.tvl");
  testing::internal::CaptureStderr();
  write_environment_status();
  write_results();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error : file " + (folder / "missing" / "result.tvl").string() + " not created.\n");
  EXPECT_EQ(report_file, nullptr);
  EXPECT_TRUE(report_failed());

  fs::create_directory(folder / "folder");
  set_result_file(folder / "folder");
  testing::internal::CaptureStderr();
  write_environment_status();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error : file " + (folder / "folder").string() + " not created.\n");
  EXPECT_TRUE(fs::is_empty(folder / "folder"));

  set_result_file("");
  testing::internal::CaptureStderr();
  write_environment_status();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error : file  not created.\n");
}

TEST_F(ReportFile, ReadOnlyFolderKeepsThePreviousReport) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  write_file(report(), OLD_REPORT);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  testing::internal::CaptureStderr();
  write_environment_status();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error : file " + report().string() + " not created.\n");
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(read_file(report()), OLD_REPORT);
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

TEST_F(ReportFile, FailedWriteKeepsThePreviousReportAndSaysWhy) {
  write_file(report(), OLD_REPORT);
  write_environment_status();
  ASSERT_NE(report_file, nullptr);
  testing::internal::CaptureStderr();
  {
    const FileSizeLimit limit(1000);
    write_results();
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error : file " + report().string() + " not written (write failed: File too large).\n");
  EXPECT_TRUE(report_failed());
  EXPECT_EQ(report_file, nullptr);
  EXPECT_EQ(read_file(report()), OLD_REPORT);
  EXPECT_EQ(stray_files(), 0);

  write_environment_status();
  EXPECT_FALSE(report_failed());
}

TEST_F(ReportFile, LinkedReportReplacesTheFileTheLinkNames) {
  write_file(folder / "kept.tvl", OLD_REPORT);
  fs::create_symlink("kept.tvl", report());
  write_environment_status();
  write_results();
  EXPECT_TRUE(fs::is_symlink(report()));
  EXPECT_TRUE(read_file(folder / "kept.tvl").ends_with("2D total : 100.000000\n"));
}

}  // namespace
