#include "report/report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "report/results_text.h"
#include "report/status_text.h"

bool ReportFile::report_wanted() const { return options_.loops >= 0 && !options_.test_loop; }

void ReportFile::write_whole_report(FILE* out) const {
  write_status_text(out, options_, info_);
  if (with_results_) write_results_text(out, options_, results_);
}

// The run is never lost: the report that could not be written where asked
// goes to a fresh file in the temporary folder, and one line on stderr says
// what went wrong, why, and where the report is.
void ReportFile::save_elsewhere(const std::string& trouble) {
  failed_ = true;
  ReplacementFile fallback;
  const char* step = nullptr;
  if (open_fallback(&fallback)) {
    write_whole_report(fallback.stream);
    step = commit_replacement(&fallback);
    if (step == nullptr) {
      written_path_ = fallback.target_path;
      std::fprintf(stderr, "Error : file %s %s; the report was written to %s instead.\n",
                   options_.result_file, trouble.c_str(), written_path_.c_str());
      return;
    }
    const int reason = errno;
    unlink(fallback.target_path.c_str());  // incomplete
    errno = reason;
  }
  std::fprintf(stderr, "Error : file %s %s; no copy could be written to %s either (%s%s%s).\n",
               options_.result_file, trouble.c_str(),
               fallback.target_path.empty() ? "the temporary folder" : fallback.target_path.c_str(),
               step != nullptr ? step : "", step != nullptr ? " failed: " : "",
               std::strerror(errno));
}

void ReportFile::write_environment_status() {
  if (!report_wanted()) return;
  discard_replacement(&pending_);
  failed_ = false;
  with_results_ = false;
  written_path_.clear();
  open_error_ = 0;
  report_file = nullptr;
  if (!open_replacement(&pending_, options_.result_file)) {
    open_error_ = errno;
    return;
  }
  report_file = pending_.stream;
  write_status_text(report_file, options_, info_);
}

void ReportFile::write_results() {
  if (!report_wanted()) return;
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
