// The report file of a run, written by the run sequence after the last
// pass: write_environment_status, then write_results (which closes it) or,
// in status-only mode, close_report.
#pragma once

#include <cstdio>

// Open from write_environment_status until close_report; null otherwise,
// also when the report could not be created.
extern FILE* report_file;

// Does nothing when the loop count is negative (endless) or in test-loop
// mode. Otherwise starts a new report for run_options.result_file and
// writes its header and environment status into report_file. The new
// report is written under a temporary name beside result_file; an existing
// file there stays as it was until close_report puts the finished one in
// its place. When the report cannot be created,
// "Error : file %s not created.\n" goes to stderr and report_file stays
// null.
void write_environment_status();

// Does nothing when the loop count is negative, in test-loop mode or with
// no report open. Otherwise writes the result section and closes the report
// with close_report.
void write_results();

// Finishes the open report, if any: the complete file replaces
// result_file. When it cannot be written or put in place, a line saying
// which step failed and why goes to stderr, the temporary file is removed
// and the previous file is kept. report_file is null afterwards.
void close_report();

// True when the latest report could not be created or finished; cleared by
// write_environment_status. An unattended run ends with a failure status
// then.
bool report_failed();
