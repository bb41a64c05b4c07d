// Where everything of the comparison chart goes: its sizes, which follow
// from the texts as drawn, and the logarithmic score scale.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "compare/run_changes.h"
#include "compare/run_file.h"

// Sizes in pixels (points for SVG and PDF). A group holds one bar per run
// and a gap; a full run's 49 groups of two runs make a chart about 1600 wide. Fewer
// groups get wider bars, up to MAX_BAR_WIDTH.
constexpr double BAR_WIDTH = 10;
constexpr double MAX_BAR_WIDTH = 40;
constexpr double GROUP_GAP = 10;
constexpr double WIDE_PLOT = 1000;  // what the bars widen towards
constexpr double MIN_PLOT_WIDTH = 400;
constexpr double MARGIN_LEFT = 80;   // room for the axis; more when the first label needs it
constexpr double MARGIN_RIGHT = 40;  // room for the 100 line's label
constexpr double TITLE_HEIGHT = 40;
constexpr double LEGEND_LINE = 20;
constexpr double SWATCH = 14;
constexpr double LABEL_GAP = 8;  // between the axis and the keywords that hang below it
constexpr double SLANT = std::numbers::pi / 4;
constexpr double PLOT_HEIGHT = 560;  // in a file; a window may want less
constexpr double FONT_SIZE = 12;
constexpr const char* TITLE = "Scores by test (logarithmic; 100: the reference time)";
constexpr size_t LONGEST_LEGEND = 160;  // characters of a run's line
// The legend's line for the marked bars, below the runs' lines.
constexpr const char* MARK_LEGEND = "picture differed from its reference";
constexpr double HATCH_SPACING = 6;  // between the lines across a marked bar
// A decision: a small mark above the bar (and its interval), this wide at
// the most and this far above it: a triangle pointing down for slower, one
// pointing up for faster, a diamond for the same, a ring for cannot tell.
constexpr double CHANGE_MARK_WIDTH = 10;
constexpr double CHANGE_MARK_GAP = 2;
// A score's 95% interval: a thin whisker through the bar's middle with caps
// this wide at the most at its given ends, and its legend line.
constexpr double INTERVAL_CAP_WIDTH = 8;
constexpr const char* INTERVAL_LEGEND = "the score's 95% interval (a missing end: unbounded)";
constexpr double LABEL_SPACING = 24;  // the least room between two labels of the score axis
// The scale ends there at the most (beyond, only a damaged file's scores),
// so that its decades, rounded out to whole label steps, stay well within
// a double's range.
constexpr int FARTHEST_DECADE = 280;
// Cairo's own limit on a side, and what a chart's pixels may take in memory
// (256 MB).
constexpr double LARGEST_PNG_SIDE = 32767;
constexpr double LARGEST_PNG_PIXELS = 64e6;

void select_font(cairo_t* cr, cairo_font_weight_t weight, double size);
double text_width(cairo_t* cr, const std::string& text);

// Whether a run's test (null where the run lacks it) has a bar: it was
// timed and has a score. A bar is marked where the test's picture
// differed, as its score then timed drawing that went wrong.
bool has_bar(const TestResult* test);
bool marked_bar(const TestResult* test);
// Whether a bar has a whisker: the file gives an end of its interval.
bool has_interval(const TestResult* test);

// Run r's line of the legend, and a test's label under its group.
std::string legend_text(const std::vector<RunFile>& runs, size_t r);
std::string group_label(const std::string& keyword);

// Scores of one machine span decades (a swap test may score a hundred times
// what a textured one does), so the scale is logarithmic: one band a power
// of ten, from the decade below the lowest score (or 100) to the decade
// above the highest (or 100). Where the decades are too many for a label
// each, only every decade_step-th has one, and a grid line.
struct Layout {
  double width, height, plot_left, plot_top, plot_width, plot_height, group_width, bar_width;
  int lowest_decade, highest_decade;  // the scale runs from 10^lowest to 10^highest
  int decade_step;                    // both ends are multiples of it
  bool marked;                        // some bar is marked; the legend says what that means
  bool intervals;                     // some bar has a whisker; so has the legend
  // A legend line for each decision that some bar's mark shows, in the
  // order slower, faster, same, cannot tell.
  struct ChangeLegend {
    Change change;
    std::string text;
  };
  std::vector<ChangeLegend> change_legends;

  double bottom() const { return std::pow(10.0, lowest_decade); }
  // A score beyond the scale's ends stands at the end.
  double y(double score) const {
    const double decades = highest_decade - lowest_decade;
    const double above =
        std::clamp(std::log10(score), double(lowest_decade), double(highest_decade)) -
        lowest_decade;
    return plot_top + plot_height * (1 - above / decades);
  }
};

// The lines of the legend: one per run, then one for each mark some bar has.
inline size_t legend_lines(const Layout& layout, size_t runs) {
  return runs + layout.marked + layout.intervals + layout.change_legends.size();
}

// The chart's layout for the runs' bars over `keywords`, with scores from
// `lowest` to `highest`, the decisions of `changes` where given, and a plot
// `plot_height` high.
Layout lay_out(const std::vector<RunFile>& runs, const std::vector<std::string>& keywords,
               double lowest, double highest, const Changes* changes, double plot_height);
