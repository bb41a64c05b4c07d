#include "report/report.h"

#include <cerrno>
#include <cstring>

#include "catalogue/catalogue.h"
#include "report/replacement_file.h"
#include "report/results_text.h"
#include "report/status_text.h"
#include "scene3d/environment_info.h"
#include "shell/run_options.h"

FILE* report_file = nullptr;

namespace {

ReplacementFile pending;
bool failed = false;

bool report_wanted() { return run_options.loops >= 0 && !run_options.test_loop; }

}  // namespace

void write_environment_status() {
  if (!report_wanted()) return;
  discard_replacement(&pending);
  failed = false;
  if (!open_replacement(&pending, run_options.result_file)) {
    std::fprintf(stderr, "Error : file %s not created.\n", run_options.result_file);
    report_file = nullptr;
    failed = true;
    return;
  }
  report_file = pending.stream;
  write_status_text(report_file, run_options, environment_info);
}

void write_results() {
  if (!report_wanted() || report_file == nullptr) return;
  write_results_text(report_file, run_options, skip_flags, test_times);
  close_report();
}

void close_report() {
  if (report_file == nullptr) return;
  report_file = nullptr;
  const char* failed_step = commit_replacement(&pending);
  if (failed_step == nullptr) return;
  std::fprintf(stderr, "Error : file %s not written (%s failed: %s).\n", run_options.result_file,
               failed_step, std::strerror(errno));
  failed = true;
}

bool report_failed() { return failed; }
