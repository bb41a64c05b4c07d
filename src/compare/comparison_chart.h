// The comparison drawn as a grouped bar chart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compare/run_changes.h"
#include "compare/run_file.h"

enum class ChartFormat { png, svg, pdf };

// A chart drawn for a window: 8-bit RGB, rows top first.
struct ChartPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// The format named by the extension of `path` (".png", ".svg" or ".pdf", in
// any case); none for any other.
std::optional<ChartFormat> chart_format_for(const std::string& path);

// Writes to `path` a bar chart of the scores: one group per test of
// compared_keywords(runs) with its keyword as the label, one bar per run in
// the runs' order and colours (no bar where a run has no score), a
// logarithmic score axis of whole decades with a marked line at 100, and a
// legend naming each run's renderer and start. A bar whose test's picture
// differed is hatched with white lines and outlined in red, and the legend
// then has a line saying so. A bar whose test has an interval (score_low,
// score_high) has a thin dark whisker over it from end to end, capped at
// each end the file gives (a missing end runs to the plot's edge), and
// the legend a line for them; the scale spans the ends too. With `changes`
// (decide_changes(runs, ...)), each decided bar has a small mark above it
// (and above its whisker): a triangle pointing down for slower, one
// pointing up for faster, a diamond for the same and a ring for cannot
// tell, and the legend has a line for each that some bar has. The width
// grows with the
// number of tests and runs so that every label stays readable; keywords are
// cut to LONGEST_NAME characters and a legend line to 160, and the axis
// labels only every so many decades where the scores span too many for
// one each.
//
// The chart takes the place of `path` only once complete, as the report
// does (core/replacement_file.h): whatever fails, a file there stays as it
// was. Throws std::runtime_error, one line: "cannot draw PATH: reason" when
// the chart cannot be made (a PNG of more than 32767 pixels a side or 64
// million in all: the reason says so), "cannot write PATH: reason" when it
// cannot be written there.
void write_comparison_chart(const std::string& path, ChartFormat format,
                            const std::vector<RunFile>& runs, const Changes* changes = nullptr);

// The same chart as a picture, with a plot `plot_height` high instead of
// the file's PLOT_HEIGHT (chart_layout.h), so that a window can show it on
// a small screen. Throws std::runtime_error ("cannot draw the chart:
// reason") where cairo cannot draw it.
ChartPicture draw_chart_picture(const std::vector<RunFile>& runs, double plot_height,
                                const Changes* changes = nullptr);
