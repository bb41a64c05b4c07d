// The comparison drawn as a grouped bar chart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compare/run_file.h"

enum class ChartFormat { png, svg, pdf };

// The format named by the extension of `path` (".png", ".svg" or ".pdf", in
// any case); none for any other.
std::optional<ChartFormat> chart_format_for(const std::string& path);

// Writes to `path` a bar chart of the scores: one group per test of
// compared_keywords(runs) with its keyword as the label, one bar per run in
// the runs' order and colours (no bar where a run has no score), a
// logarithmic score axis of whole decades with a marked line at 100, and a legend naming each run's
// renderer and start. The width grows with the number of tests and runs so
// that every label stays readable. Throws std::runtime_error ("cannot write
// PATH: reason") when the file cannot be written; a half-written file is
// removed.
void write_comparison_chart(const std::string& path, ChartFormat format,
                            const std::vector<RunFile>& runs);
