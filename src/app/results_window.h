// The end of a timed run: its results kept in the history of runs, and on
// the desktop a window that sets them beside the run of the same renderer
// before it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "compare/run_file.h"
#include "core/run_options.h"

// What became of keeping the run in the history.
struct KeptRun {
  std::string folder;   // the history's folder; empty when it has none
  std::string path;     // where the run was kept; empty when it was not
  std::string warning;  // why it could not be kept; empty when it was, or was not to be
};

// Keeps `json`, the run's result file, in the history when
// keeps_history(options). A history that cannot be written fails nothing:
// the warning goes to stderr ("tarvelin: warning: ... this run is not kept")
// and is returned.
KeptRun keep_in_history(const RunOptions& options, const std::string& started,
                        const std::string& json);

// The latest run kept in the history folder `folder` that ran on
// `renderer`; a file that cannot be read or is no result file is passed
// over. None when no run of that renderer is kept, or the folder cannot be
// read.
std::optional<RunFile> previous_run(const std::string& folder,
                                    const std::optional<std::string>& renderer);

// The lines above the window's chart: the run's renderer and start, the run
// it is set beside (or that none is kept), each group's total on a line of
// its own with its ratio to that run's and what the ratio can claim
// (claim_text, decided on the totals' pass values with
// DEFAULT_THRESHOLD_PERCENT, which the line of the run before then names), the
// verdict's lines (`verdict`, one finding a line), and the warning of a run
// that could not be kept.
std::string results_summary(const RunFile& run, const std::optional<RunFile>& previous,
                            const std::string& verdict, const KeptRun& kept);

struct ResultsWindowInput {
  RunFile run;                      // this run, as its result file reads
  std::optional<RunFile> previous;  // the run it is set beside
  std::string verdict;              // the verdict's lines
  KeptRun kept;
  std::function<void()> open_report;  // null when no report was written
};

// Shows the results window until the user closes it. Its chart has this
// run's bars beside the previous run's where there is one.
void show_results_window(const ResultsWindowInput& input);
