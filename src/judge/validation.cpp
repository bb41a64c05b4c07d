#include "judge/validation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/printable.h"
#include "core/test_window.h"

namespace {

// The pictures written for a test whose picture differs.
constexpr const char* PICTURE_KINDS[] = {"captured", "reference", "difference"};

constexpr const char* GATHERING_PREFIX = ".tarvelin-new-";
constexpr const char* SUMMARY_NAME = "summary.txt";

// The folders that runs killed before their end left behind.
void remove_abandoned_gatherings(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().filename().string().rfind(GATHERING_PREFIX, 0) == 0) {
      std::filesystem::remove_all(entry.path(), error);
    }
  }
}

}  // namespace

Validation::~Validation() {
  std::error_code error;
  if (!gathering_.empty()) std::filesystem::remove_all(gathering_, error);
}

bool Validation::prepare() {
  std::error_code error;
  if (!std::filesystem::is_directory(judge_.folder(), error)) {
    std::fprintf(stderr, "Error : no reference pictures: folder %s not found\n",
                 printable(judge_.folder()).c_str());
    return false;
  }
  const std::string folder = printable(options_.validate_dir);
  std::filesystem::create_directories(options_.validate_dir, error);
  if (error) {
    std::fprintf(stderr, "Error : folder %s not created (%s)\n", folder.c_str(),
                 error.message().c_str());
    return false;
  }
  remove_abandoned_gatherings(options_.validate_dir);
  // Made now, which also finds a folder that cannot be written before any
  // test has run.
  std::string gathering = options_.validate_dir + "/" + GATHERING_PREFIX + "XXXXXX";
  if (mkdtemp(gathering.data()) == nullptr) {
    std::fprintf(stderr, "Error : folder %s cannot be written (%s)\n", folder.c_str(),
                 std::strerror(errno));
    return false;
  }
  gathering_ = gathering;
  return true;
}

std::string Validation::picture_path(const TestInfo& test, const char* what) const {
  return gathering_ + "/" + test.keyword + "-" + what + ".png";
}

void Validation::save(const TestInfo& test, const char* what, const Picture& picture) const {
  const std::string path = picture_path(test, what);
  std::string trouble;
  if (!write_png(path, picture, trouble)) {
    std::fprintf(stderr, "Error : file %s not written (%s)\n", printable(path).c_str(),
                 trouble.c_str());
  }
}

void Validation::check(const TestInfo& test, const TestWindow& window) {
  if (state_.results.skipped(test.id)) {
    state_.results.verdicts[test.id].state = PictureVerdict::skipped;
    return;
  }
  const Judgement judged =
      judge_.judge(test, window, state_.environment_info, PictureSource::timed_frames);
  const PictureVerdict& verdict = judged.verdict;
  PictureJudge::record(state_.results, test.id, verdict);
  switch (verdict.state) {
    case PictureVerdict::not_checked:
      progress_.note(("  not checked: " + verdict.reason).c_str());
      // A person making the missing reference starts from this picture.
      if (verdict.no_reference) save(test, "captured", read_test_picture(window));
      return;
    case PictureVerdict::ok:
      progress_.note(("  ok: " + verdict_figures(verdict)).c_str());
      return;
    case PictureVerdict::skipped:  // not a judgement: handled above
    case PictureVerdict::differs:
      progress_.note(("  differs: " + verdict_figures(verdict)).c_str());
      save(test, "captured", judged.captured);
      save(test, "reference", *judged.reference);
      save(test, "difference",
           difference_picture(judged.captured, *judged.reference, judged.tolerance));
  }
}

bool Validation::write_summary() {
  const std::string path = gathering_ + "/" + SUMMARY_NAME;
  const std::string shown = printable(options_.validate_dir + "/" + SUMMARY_NAME);
  FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) {
    std::fprintf(stderr, "Error : file %s not created (%s)\n", shown.c_str(), std::strerror(errno));
    return false;
  }
  for (const TestInfo& test : test_catalogue) {
    const PictureVerdict& verdict = state_.results.verdicts[test.id];
    const std::string why = verdict.reason.empty() ? "" : "  " + verdict.reason;
    std::fprintf(out, "%-24s %-11s %8.4f%% %3d%s\n", test.keyword, verdict_name(verdict.state),
                 100.0 * verdict.share_beyond, verdict.largest, why.c_str());
  }
  if (std::fclose(out) != 0) {
    std::fprintf(stderr, "Error : file %s not written (%s)\n", shown.c_str(), std::strerror(errno));
    return false;
  }
  return put_in_place();
}

bool Validation::put_in_place() const {
  const std::filesystem::path folder = options_.validate_dir;
  std::error_code error;
  std::filesystem::remove(folder / SUMMARY_NAME, error);
  for (const TestInfo& test : test_catalogue) {
    for (const char* what : PICTURE_KINDS) {
      std::filesystem::remove(folder / (std::string(test.keyword) + "-" + what + ".png"), error);
    }
  }
  // The summary goes last.
  std::vector<std::filesystem::path> gathered;
  for (const auto& entry : std::filesystem::directory_iterator(gathering_, error)) {
    if (entry.path().filename() != SUMMARY_NAME) gathered.push_back(entry.path());
  }
  gathered.push_back(std::filesystem::path(gathering_) / SUMMARY_NAME);
  for (const std::filesystem::path& file : gathered) {
    std::filesystem::rename(file, folder / file.filename(), error);
    if (error) {
      std::fprintf(stderr, "Error : file %s not written (%s)\n",
                   printable((folder / file.filename()).string()).c_str(), error.message().c_str());
      return false;
    }
  }
  return true;
}

ValidationCounts Validation::counts() const {
  ValidationCounts counts;
  for (const PictureVerdict& verdict : state_.results.verdicts) {
    switch (verdict.state) {
      case PictureVerdict::differs:
        ++counts.differing;
        [[fallthrough]];
      case PictureVerdict::ok:
        ++counts.checked;
        break;
      case PictureVerdict::skipped:
        ++counts.skipped;
        break;
      case PictureVerdict::not_checked:
        ++counts.not_checked;
        break;
    }
  }
  return counts;
}
