// The lines a batch run prints on stdout for a test harness to match: the
// precision line of a run with a precision target and the totals, in the C
// locale whatever the process's.
#pragma once

#include <string>

#include "core/run_options.h"
#include "core/run_results.h"
#include "core/run_state.h"

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
