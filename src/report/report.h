// The report file of a run, written by the run sequence after the last
// pass: write_environment_status, then write_results (which closes it) or,
// in status-only mode, close_report. It reads the run's settings,
// environment record and results, and nothing else.
#pragma once

#include <cstdio>
#include <string>

#include "core/environment_info.h"
#include "core/replacement_file.h"
#include "core/run_options.h"
#include "core/run_results.h"

// Whether a run with these options writes a report and its result files:
// not in test-loop mode and not for an endless run.
bool report_wanted(const RunOptions& options);

class ReportFile {
 public:
  ReportFile(const RunOptions& options, const EnvironmentInfo& info, const RunResults& results)
      : options_(options), info_(info), results_(results) {}
  ~ReportFile() { discard_replacement(&pending_); }
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Open from write_environment_status until close_report; null otherwise,
  // also when the report could not be created.
  FILE* report_file = nullptr;

  // Does nothing when the loop count is negative (endless) or in test-loop
  // mode. Otherwise starts a new report for report_file and writes its
  // header and environment status into report_file. The new report is
  // written under a temporary name beside report_file (or in place, see
  // open_replacement); an existing file there stays as it was until
  // close_report puts the finished one in its place. When the report cannot
  // be created, report_file stays null and close_report tells it.
  void write_environment_status();

  // Does nothing when the loop count is negative or in test-loop mode.
  // Otherwise writes the result section, if a report is open, and closes
  // the report with close_report.
  void write_results();

  // Finishes the report: the complete file replaces report_file. When it
  // could not be created, or cannot be written or put in place, the
  // previous file is kept, nothing is left beside it, and the whole report
  // goes to a fresh file in the temporary folder instead; one line on
  // stderr says "Error : file <name> not created (<reason>)" or "not
  // written (<step> failed: <reason>)", and where the report went.
  // report_file is null afterwards.
  void close_report();

  // True when the latest report could not be written where asked; cleared
  // by write_environment_status. An unattended run ends with a failure
  // status then.
  bool report_failed() const { return failed_; }

  // The file that holds the latest report (report_file's target, or the
  // fallback in the temporary folder); null when none was written.
  const char* written_report_path() const {
    return written_path_.empty() ? nullptr : written_path_.c_str();
  }

 private:
  void write_whole_report(FILE* out) const;
  void save_elsewhere(const std::string& trouble);

  const RunOptions& options_;
  const EnvironmentInfo& info_;
  const RunResults& results_;
  ReplacementFile pending_;
  int open_error_ = 0;         // errno of a report that could not be created
  bool with_results_ = false;  // the report has its result section
  bool failed_ = false;
  std::string written_path_;  // where the latest report went; empty: nowhere
};

// Writes `text` as the whole of `path`, in its place only once complete (as
// the report is). When it cannot, the file there is kept, the text goes to a
// fresh "tarvelin-report-XXXXXX<suffix>" in the temporary folder, one line
// on stderr says why and where, and the result is false. The name "-"
// (STANDARD_OUTPUT_NAME) writes the text to the standard output.
constexpr const char* STANDARD_OUTPUT_NAME = "-";
bool write_result_file(const char* path, const std::string& text, const char* suffix);
