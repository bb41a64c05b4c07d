// The results for other programs: the JSON and CSV files and the summary
// lines of a batch run, all made from the run's settings, environment record
// and results. docs/results.md describes every field.
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

// "Tarvelin 3D total: 959.87\nTarvelin 2D total: 1234.56\n", in the C locale
// whatever the process's; "n/a" where the report shows "-----". Before
// them, a group whose report shows an "implemented" line with a value says
// it too: "Tarvelin 3D implemented: 812.40\n".
std::string summary_lines(const RunOptions& options, const RunResults& results);

// For a run with a precision target, one line on how it went, before the
// summary lines: "Tarvelin precision: 7 passes, target met; every timed
// test within 2% (95% confidence)", or after a stop at the budget or the
// passes allowed the tests that missed, each with its relative half-width
// ("not within 2%: lines 3.41%, points 2.20%").
std::string precision_lines(const RunOptions& options, const RunResults& results,
                            const RunRecord& record);
