#include "report/report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/run_options.h"
#include "report/replacement_file.h"
#include "report/results_text.h"
#include "report/status_text.h"

FILE* report_file = nullptr;

namespace {

ReplacementFile pending;
int open_error = 0;         // errno of a report that could not be created
bool with_results = false;  // the report has its result section
bool failed = false;
std::string written_path;  // where the latest report went; empty: nowhere

bool report_wanted() { return run_options.loops >= 0 && !run_options.test_loop; }

void write_whole_report(FILE* out) {
  write_status_text(out, run_options, environment_info);
  if (with_results) write_results_text(out, run_options, skip_flags, test_times);
}

// The run is never lost: the report that could not be written where asked
// goes to a fresh file in the temporary folder, and one line on stderr says
// what went wrong, why, and where the report is.
void save_elsewhere(const std::string& trouble) {
  failed = true;
  ReplacementFile fallback;
  const char* step = nullptr;
  if (open_fallback(&fallback)) {
    write_whole_report(fallback.stream);
    step = commit_replacement(&fallback);
    if (step == nullptr) {
      written_path = fallback.target_path;
      std::fprintf(stderr, "Error : file %s %s; the report was written to %s instead.\n",
                   run_options.result_file, trouble.c_str(), written_path.c_str());
      return;
    }
    const int reason = errno;
    unlink(fallback.target_path.c_str());  // incomplete
    errno = reason;
  }
  std::fprintf(stderr, "Error : file %s %s; no copy could be written to %s either (%s%s%s).\n",
               run_options.result_file, trouble.c_str(),
               fallback.target_path.empty() ? "the temporary folder" : fallback.target_path.c_str(),
               step != nullptr ? step : "", step != nullptr ? " failed: " : "",
               std::strerror(errno));
}

}  // namespace

void write_environment_status() {
  if (!report_wanted()) return;
  discard_replacement(&pending);
  failed = false;
  with_results = false;
  written_path.clear();
  open_error = 0;
  report_file = nullptr;
  if (!open_replacement(&pending, run_options.result_file)) {
    open_error = errno;
    return;
  }
  report_file = pending.stream;
  write_status_text(report_file, run_options, environment_info);
}

void write_results() {
  if (!report_wanted()) return;
  with_results = true;
  if (report_file != nullptr) write_results_text(report_file, run_options, skip_flags, test_times);
  close_report();
}

void close_report() {
  if (report_file == nullptr && open_error == 0) return;
  if (report_file == nullptr) {
    const std::string trouble = std::string("not created (") + std::strerror(open_error) + ")";
    open_error = 0;
    save_elsewhere(trouble);
    return;
  }
  report_file = nullptr;
  const char* failed_step = commit_replacement(&pending);
  if (failed_step == nullptr) {
    written_path = pending.target_path;
    return;
  }
  save_elsewhere(std::string("not written (") + failed_step + " failed: " + std::strerror(errno) +
                 ")");
}

bool report_failed() { return failed; }

const char* written_report_path() { return written_path.empty() ? nullptr : written_path.c_str(); }
