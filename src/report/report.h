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
// report is written under a temporary name beside result_file (or in place,
// see open_replacement); an existing file there stays as it was until
// close_report puts the finished one in its place. When the report cannot
// be created, report_file stays null and close_report tells it.
void write_environment_status();

// Does nothing when the loop count is negative or in test-loop mode.
// Otherwise writes the result section, if a report is open, and closes the
// report with close_report.
void write_results();

// Finishes the report: the complete file replaces result_file. When it
// could not be created, or cannot be written or put in place, the previous
// file is kept, nothing is left beside it, and the whole report goes to a
// fresh file in the temporary folder instead; one line on stderr says
// "Error : file <name> not created (<reason>)" or "not written (<step>
// failed: <reason>)", and where the report went. report_file is null
// afterwards.
void close_report();

// True when the latest report could not be written where asked; cleared by
// write_environment_status. An unattended run ends with a failure status
// then.
bool report_failed();

// The file that holds the latest report (result_file's target, or the
// fallback in the temporary folder); null when none was written.
const char* written_report_path();
