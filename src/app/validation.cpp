#include "app/validation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/reference_pictures.h"
#include "core/printable.h"
#include "core/test_window.h"
#include "platform/platform.h"
#include "report/report.h"

namespace {

// The pictures written for a test whose picture differs.
constexpr const char* PICTURE_KINDS[] = {"captured", "reference", "difference"};

}  // namespace

bool Validation::prepare() {
  references_ = reference_folder();
  std::error_code error;
  if (!std::filesystem::is_directory(references_, error)) {
    std::fprintf(stderr, "Error : no reference pictures: folder %s not found\n",
                 printable(references_).c_str());
    return false;
  }
  const std::string folder = printable(options_.validate_dir);
  std::filesystem::create_directories(options_.validate_dir, error);
  if (error) {
    std::fprintf(stderr, "Error : folder %s not created (%s)\n", folder.c_str(),
                 error.message().c_str());
    return false;
  }
  // Found now rather than after every test has run.
  std::string probe = options_.validate_dir + "/.tarvelin-XXXXXX";
  const int descriptor = mkstemp(probe.data());
  if (descriptor < 0) {
    std::fprintf(stderr, "Error : folder %s cannot be written (%s)\n", folder.c_str(),
                 std::strerror(errno));
    return false;
  }
  close(descriptor);
  unlink(probe.c_str());
  // The pictures of an earlier run would stand beside a summary that no
  // longer speaks of them.
  for (const TestInfo& test : test_catalogue) {
    for (const char* what : PICTURE_KINDS) std::filesystem::remove(picture_path(test, what), error);
  }
  return true;
}

std::string Validation::picture_path(const TestInfo& test, const char* what) const {
  return options_.validate_dir + "/" + test.keyword + "-" + what + ".png";
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
  PictureVerdict& verdict = state_.results.verdicts[test.id];
  if (state_.results.skipped(test.id)) {
    verdict.state = PictureVerdict::skipped;
    return;
  }
  const Picture captured = read_test_picture(window);
  Picture reference;
  std::string error;
  if (!read_reference(references_, test, reference, error)) {
    verdict = PictureVerdict{};
    verdict.state = PictureVerdict::differs;
    verdict.share_beyond = 1.0;
    verdict.largest = 255;
    verdict.no_reference = true;
    progress_.note(("  differs: " + printable(error)).c_str());
    save(test, "captured", captured);
    return;
  }
  PictureDifference difference;
  verdict = judge_picture(test, captured, reference, &difference);
  verdict.source = PictureSource::timed_frames;
  const bool ok = verdict.state == PictureVerdict::ok;
  progress_.note(
      ("  " + std::string(ok ? "ok" : "differs") + ": " + verdict_figures(verdict)).c_str());
  if (ok) return;
  save(test, "captured", captured);
  save(test, "reference", reference);
  save(test, "difference", difference_picture(captured, reference, tolerance_for(test)));
}

bool Validation::write_summary() const {
  const std::string path = options_.validate_dir + "/summary.txt";
  FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) {
    std::fprintf(stderr, "Error : file %s not created (%s)\n", printable(path).c_str(),
                 std::strerror(errno));
    return false;
  }
  for (const TestInfo& test : test_catalogue) {
    const PictureVerdict& verdict = state_.results.verdicts[test.id];
    std::fprintf(out, "%-24s %-11s %8.4f%% %3d%s\n", test.keyword, verdict_name(verdict.state),
                 100.0 * verdict.share_beyond, verdict.largest,
                 verdict.no_reference ? "  no reference" : "");
  }
  const bool written = std::fclose(out) == 0;
  if (!written) {
    std::fprintf(stderr, "Error : file %s not written (%s)\n", printable(path).c_str(),
                 std::strerror(errno));
  }
  return written;
}

int Validation::differing() const {
  int count = 0;
  for (const PictureVerdict& verdict : state_.results.verdicts) {
    count += verdict.state == PictureVerdict::differs ? 1 : 0;
  }
  return count;
}
