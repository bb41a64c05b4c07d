#include "report/report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "core/printable.h"
#include "report/results_text.h"
#include "report/status_text.h"

bool report_wanted(const RunOptions& options) { return options.loops >= 0 && !options.test_loop; }

void ReportFile::write_whole_report(FILE* out) const {
  write_status_text(out, options_, info_);
  if (with_results_) write_results_text(out, options_, results_);
}

namespace {

// The run is never lost: what could not be written to `name` goes to a fresh
// file in the temporary folder, and one line on stderr says what went wrong,
// why, and where it is: "...; <what> written to <file> instead", `what` being
// e.g. "the report was". Returns that file, or an empty path when none could
// be written either.
std::string write_fallback_copy(const char* path, const std::string& trouble, const char* what,
                                const char* suffix, const std::function<void(FILE*)>& write) {
  const std::string shown = printable(path);
  const char* name = shown.c_str();
  ReplacementFile fallback;
  const char* step = nullptr;
  if (open_fallback(&fallback, suffix)) {
    write(fallback.stream);
    step = commit_replacement(&fallback);
    if (step == nullptr) {
      std::fprintf(stderr, "Error : file %s %s; %s written to %s instead.\n", name, trouble.c_str(),
                   what, fallback.target_path.c_str());
      return fallback.target_path;
    }
    const int reason = errno;
    unlink(fallback.target_path.c_str());  // incomplete
    errno = reason;
  }
  const std::string place = fallback.target_path.empty()
                                ? "the temporary folder " + printable(fallback_folder())
                                : printable(fallback.target_path);
  std::fprintf(stderr, "Error : file %s %s; no copy could be written to %s either (%s%s%s).\n",
               name, trouble.c_str(), place.c_str(), step != nullptr ? step : "",
               step != nullptr ? " failed: " : "", std::strerror(errno));
  return {};
}

}  // namespace

void ReportFile::save_elsewhere(const std::string& trouble) {
  failed_ = true;
  written_path_ = write_fallback_copy(options_.report_file.c_str(), trouble, "the report was",
                                      ".tvl", [this](FILE* out) { write_whole_report(out); });
}

bool write_result_file(const char* path, const std::string& text, const char* suffix) {
  const auto write = [&text](FILE* out) { std::fwrite(text.data(), 1, text.size(), out); };
  if (std::strcmp(path, STANDARD_OUTPUT_NAME) == 0) {
    write(stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    write_fallback_copy("standard output",
                        std::string("not written (") + std::strerror(errno) + ")",
                        "the results were", suffix, write);
    return false;
  }
  ReplacementFile file;
  if (!open_replacement(&file, path)) {
    const std::string trouble = std::string("not created (") + std::strerror(errno) + ")";
    write_fallback_copy(path, trouble, "the results were", suffix, write);
    return false;
  }
  write(file.stream);
  const char* failed_step = commit_replacement(&file);
  if (failed_step == nullptr) return true;
  write_fallback_copy(
      path, std::string("not written (") + failed_step + " failed: " + std::strerror(errno) + ")",
      "the results were", suffix, write);
  return false;
}

void ReportFile::write_environment_status() {
  if (!report_wanted(options_)) return;
  discard_replacement(&pending_);
  failed_ = false;
  with_results_ = false;
  written_path_.clear();
  open_error_ = 0;
  report_file = nullptr;
  if (!open_replacement(&pending_, options_.report_file.c_str())) {
    open_error_ = errno;
    return;
  }
  report_file = pending_.stream;
  write_status_text(report_file, options_, info_);
}

void ReportFile::write_results() {
  if (!report_wanted(options_)) return;
  with_results_ = true;
  if (report_file != nullptr) write_results_text(report_file, options_, results_);
  close_report();
}

void ReportFile::close_report() {
  if (report_file == nullptr && open_error_ == 0) return;
  if (report_file == nullptr) {
    const std::string trouble = std::string("not created (") + std::strerror(open_error_) + ")";
    open_error_ = 0;
    save_elsewhere(trouble);
    return;
  }
  report_file = nullptr;
  const char* failed_step = commit_replacement(&pending_);
  if (failed_step == nullptr) {
    written_path_ = pending_.target_path;
    return;
  }
  save_elsewhere(std::string("not written (") + failed_step + " failed: " + std::strerror(errno) +
                 ")");
}
