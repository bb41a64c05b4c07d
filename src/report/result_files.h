// The result files for other programs: the JSON and CSV files, both made
// from the run's settings, environment record and results (the summary
// lines of a batch run: report/summary_lines.h). docs/results.md describes
// every field.
#pragma once

#include <string>

#include "core/environment_info.h"
#include "core/run_options.h"
#include "core/run_results.h"
#include "core/run_state.h"
#include "report/run_verdict.h"

// The JSON document, indented, ending with a line feed. `verdict` is the
// run's, where it was judged (not in validation or status-only runs).
std::string results_json(const RunOptions& options, const EnvironmentInfo& info,
                         const RunResults& results, const RunRecord& record,
                         const RunVerdict* verdict);

// The CSV table: a header row and one row per test, RFC 4180, CR LF.
std::string results_csv(const RunOptions& options, const RunResults& results);
