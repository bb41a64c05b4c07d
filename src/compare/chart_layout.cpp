#include "compare/chart_layout.h"

#include <algorithm>
#include <cstdio>

#include "core/confidence.h"
#include "core/printable.h"

void select_font(cairo_t* cr, cairo_font_weight_t weight, double size) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, weight);
  cairo_set_font_size(cr, size);
}

double text_width(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

bool has_bar(const TestResult* test) {
  return test && test->status == TestStatus::timed && test->score;
}

bool marked_bar(const TestResult* test) { return has_bar(test) && test->picture_differed; }

bool has_interval(const TestResult* test) {
  return has_bar(test) && (test->score_low || test->score_high);
}

std::string legend_text(const std::vector<RunFile>& runs, size_t r) {
  const std::string platform = runs[r].platform ? " on " + *runs[r].platform : "";
  return printable("run " + std::to_string(r + 1) + ": " +
                       runs[r].renderer.value_or("(no renderer string)") + platform + ", started " +
                       runs[r].started + " (" + runs[r].path + ")",
                   LONGEST_LEGEND);
}

std::string group_label(const std::string& keyword) { return printable(keyword, LONGEST_NAME); }

// The sizes follow from the texts as drawn, measured on a scratch surface.
namespace {

// Whether some run has a test that `has` holds for.
template <class Has>
bool any_bar(const std::vector<RunFile>& runs, Has has) {
  return std::any_of(runs.begin(), runs.end(), [&](const RunFile& run) {
    return std::any_of(run.tests.begin(), run.tests.end(),
                       [&](const TestResult& test) { return has(&test); });
  });
}

// Which marks the legend explains, with its lines for the decisions.
void choose_legend(const std::vector<RunFile>& runs, const Changes* changes, Layout& layout) {
  layout.marked = any_bar(runs, marked_bar);
  layout.intervals = any_bar(runs, has_interval);
  if (!changes) return;
  char rule[120];
  std::snprintf(rule, sizeof rule, " than run 1 (by more than %g%%, p < %g)",
                changes->threshold_percent, 1.0 - CONFIDENCE);
  char same[80];
  std::snprintf(same, sizeof same, "decided the same as run 1 (its interval within ±%g%%)",
                changes->threshold_percent);
  const Layout::ChangeLegend lines[] = {
      {Change::slower, std::string("decided slower") + rule},
      {Change::faster, std::string("decided faster") + rule},
      {Change::same, same},
      {Change::cannot_tell, "cannot tell against run 1 (too few passes, or too wide an interval)"},
  };
  for (const Layout::ChangeLegend& line : lines) {
    if (any_test_change(*changes, line.change)) layout.change_legends.push_back(line);
  }
}

// The widths of the texts that size the chart, in the fonts they are drawn
// in: the widest keyword label, the widest legend line and the title.
struct TextWidths {
  double keyword = 0;
  double legend = 0;
  double title = 0;
};
TextWidths measure_texts(const std::vector<RunFile>& runs, const std::vector<std::string>& keywords,
                         const Layout& layout) {
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  select_font(cr, CAIRO_FONT_WEIGHT_NORMAL, FONT_SIZE);
  TextWidths widths;
  for (const std::string& keyword : keywords) {
    widths.keyword = std::max(widths.keyword, text_width(cr, group_label(keyword)));
  }
  for (size_t r = 0; r < runs.size(); ++r) {
    widths.legend = std::max(widths.legend, text_width(cr, legend_text(runs, r)));
  }
  if (layout.marked) widths.legend = std::max(widths.legend, text_width(cr, MARK_LEGEND));
  if (layout.intervals) widths.legend = std::max(widths.legend, text_width(cr, INTERVAL_LEGEND));
  for (const Layout::ChangeLegend& line : layout.change_legends) {
    widths.legend = std::max(widths.legend, text_width(cr, line.text));
  }
  select_font(cr, CAIRO_FONT_WEIGHT_BOLD, 16);
  widths.title = text_width(cr, TITLE);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return widths;
}

// The score axis's decades: the line at 100 is always on the chart, and
// the tallest bar stays clear of the top.
void choose_scale(double lowest, double highest, double plot_height, Layout& layout) {
  const int lowest_decade =
      std::max(-FARTHEST_DECADE, static_cast<int>(std::floor(std::log10(std::min(lowest, 100.0)))));
  const int highest_decade = std::min(
      FARTHEST_DECADE,
      static_cast<int>(std::ceil(std::log10(std::max(highest, 100.0)) + std::log10(1.05))));
  layout.decade_step =
      static_cast<int>(std::ceil((highest_decade - lowest_decade) * LABEL_SPACING / plot_height));
  layout.lowest_decade =
      static_cast<int>(std::floor(double(lowest_decade) / layout.decade_step) * layout.decade_step);
  layout.highest_decade =
      static_cast<int>(std::ceil(double(highest_decade) / layout.decade_step) * layout.decade_step);
}

}  // namespace

Layout lay_out(const std::vector<RunFile>& runs, const std::vector<std::string>& keywords,
               double lowest, double highest, const Changes* changes, double plot_height) {
  Layout layout;
  choose_legend(runs, changes, layout);
  const TextWidths widths = measure_texts(runs, keywords, layout);
  const double groups = static_cast<double>(keywords.size());
  layout.bar_width = BAR_WIDTH;
  if (groups > 0) {
    layout.bar_width =
        std::clamp((WIDE_PLOT / groups - GROUP_GAP) / runs.size(), BAR_WIDTH, MAX_BAR_WIDTH);
  }
  layout.group_width = layout.bar_width * runs.size() + GROUP_GAP;
  layout.plot_width = std::max(MIN_PLOT_WIDTH, layout.group_width * groups);
  // A slanted keyword reaches as far down, and as far left of its group's
  // middle, as its length times cos 45 degrees.
  const double label_reach = widths.keyword * std::cos(SLANT) + FONT_SIZE;
  layout.plot_left = std::max(MARGIN_LEFT, label_reach - layout.group_width / 2 + 10);
  layout.plot_top = TITLE_HEIGHT + LEGEND_LINE * legend_lines(layout, runs.size()) + 20;
  layout.width = layout.plot_left + std::max({layout.plot_width + MARGIN_RIGHT,
                                              SWATCH + 8 + widths.legend + 20, widths.title + 20});
  layout.plot_height = plot_height;
  layout.height = layout.plot_top + plot_height + LABEL_GAP + label_reach + 10;
  choose_scale(lowest, highest, plot_height, layout);
  return layout;
}
