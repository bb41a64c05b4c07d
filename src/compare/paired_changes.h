// What an -ab session decides of side B against side A, from the two
// sides' result files: their passes are the session's rounds, pass i of
// each measured in round i, seconds apart.
#pragma once

#include <vector>

#include "compare/run_changes.h"
#include "compare/run_file.h"

// Each test that both sides timed in every round, and each total both have
// whole, decided on the ratios of its rounds (paired_ratio in
// core/ratio_decision.h; the ratio shown is the estimate), all rows
// together with Holm's correction (decide_rows). `sides` holds A, then B;
// the Changes are those of a comparison of these two runs, marked paired,
// with no setup difference noted: the sides are meant to differ.
Changes decide_paired_changes(const std::vector<RunFile>& sides, double threshold_percent);
