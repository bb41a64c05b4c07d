// The history of runs: the result file of each completed timed run kept in
// one folder of the user's data, so that a run can be set beside the one
// before it (the results window, `tarvelin-compare -last N`). The program
// adds to it and never removes anything from it.
#pragma once

#include <string>
#include <vector>

// $XDG_DATA_HOME/tarvelin/runs, else $HOME/.local/share/tarvelin/runs. A
// relative XDG_DATA_HOME is ignored, as the XDG base directories ask. Empty
// when neither variable gives an absolute folder.
std::string history_folder();

// The name a run started at `started` (ISO 8601 UTC as the result files
// write it, "2026-12-08T21:30:27Z") is kept under, without a folder:
// "2026-12-08T21-30-27Z.json" (no colons, which other systems refuse in
// file names). A run that finds that name taken is kept as the first of
// "...Z_2.json", "...Z_3.json", ... that is free.
std::string history_name(const std::string& started, int number = 1);

// The paths of the kept runs in `folder`, oldest first: by start time, and
// runs of the same second by their number. Only regular files (or links to
// them) of names history_name makes are counted; everything else in the
// folder, a pipe of such a name included, is left alone. Empty where the
// folder does not exist; throws std::runtime_error ("cannot read FOLDER:
// reason") where it cannot be read.
std::vector<std::string> history_runs(const std::string& folder);

// Keeps `json`, the run's result file, in `folder` (made with its parents
// where missing) under history_name(started), never in place of a file
// already there; returns its path. The file appears complete or not at
// all. Throws std::runtime_error, one line ("cannot keep the run in
// FOLDER: reason"), when it cannot.
std::string keep_run(const std::string& folder, const std::string& started,
                     const std::string& json);
