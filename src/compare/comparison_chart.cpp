#include "compare/comparison_chart.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <stdexcept>

#include "core/printable.h"
#include "core/replacement_file.h"

namespace {

// Sizes in pixels (points for SVG and PDF). A group holds one bar per run
// and a gap; 49 groups of two runs make a chart about 1600 wide. Fewer
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
constexpr double PLOT_HEIGHT = 560;
constexpr double FONT_SIZE = 12;
constexpr const char* TITLE = "Scores by test (logarithmic; 100: the reference time)";
constexpr size_t LONGEST_LEGEND = 160;  // characters of a run's line
constexpr double LABEL_SPACING = 24;    // the least room between two labels of the score axis
// The scale ends there at the most (beyond, only a damaged file's scores),
// so that its decades, rounded out to whole label steps, stay well within
// a double's range.
constexpr int FARTHEST_DECADE = 280;
// Cairo's own limit on a side, and what a chart's pixels may take in memory
// (256 MB).
constexpr double LARGEST_PNG_SIDE = 32767;
constexpr double LARGEST_PNG_PIXELS = 64e6;

struct Colour {
  double r, g, b;
};
// Told apart also by readers with a colour vision deficiency.
constexpr Colour PALETTE[] = {{0.00, 0.45, 0.70}, {0.90, 0.62, 0.00}, {0.00, 0.62, 0.45},
                              {0.84, 0.37, 0.00}, {0.34, 0.71, 0.91}, {0.80, 0.47, 0.65},
                              {0.94, 0.89, 0.26}, {0.00, 0.00, 0.00}};
constexpr size_t PALETTE_SIZE = sizeof PALETTE / sizeof PALETTE[0];

void set_colour(cairo_t* cr, const Colour& colour) {
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
}

void select_font(cairo_t* cr, cairo_font_weight_t weight, double size) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, weight);
  cairo_set_font_size(cr, size);
}

double text_width(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

// Draws `text` with its baseline at y; `align` 0 puts its start at x, 1 its
// end, 0.5 its middle.
void show_text_at(cairo_t* cr, double x, double y, const std::string& text, double align) {
  cairo_move_to(cr, x - align * text_width(cr, text), y);
  cairo_show_text(cr, text.c_str());
}

std::string legend_text(const std::vector<RunFile>& runs, size_t r) {
  const std::string platform = runs[r].platform ? " on " + *runs[r].platform : "";
  return printable("run " + std::to_string(r + 1) + ": " +
                       runs[r].renderer.value_or("(no renderer string)") + platform + ", started " +
                       runs[r].started + " (" + runs[r].path + ")",
                   LONGEST_LEGEND);
}

std::string group_label(const std::string& keyword) { return printable(keyword, LONGEST_NAME); }

// Scores of one machine span decades (a swap test may score a hundred times
// what a textured one does), so the scale is logarithmic: one band a power
// of ten, from the decade below the lowest score (or 100) to the decade
// above the highest (or 100). Where the decades are too many for a label
// each, only every decade_step-th has one, and a grid line.
struct Layout {
  double width, height, plot_left, plot_top, plot_width, group_width, bar_width;
  int lowest_decade, highest_decade;  // the scale runs from 10^lowest to 10^highest
  int decade_step;                    // both ends are multiples of it

  double bottom() const { return std::pow(10.0, lowest_decade); }
  // A score beyond the scale's ends stands at the end.
  double y(double score) const {
    const double decades = highest_decade - lowest_decade;
    const double above =
        std::clamp(std::log10(score), double(lowest_decade), double(highest_decade)) -
        lowest_decade;
    return plot_top + PLOT_HEIGHT * (1 - above / decades);
  }
};

// The sizes follow from the texts as drawn, measured on a scratch surface.
Layout lay_out(const std::vector<RunFile>& runs, const std::vector<std::string>& keywords,
               double lowest, double highest) {
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  select_font(cr, CAIRO_FONT_WEIGHT_NORMAL, FONT_SIZE);
  double widest_keyword = 0;
  for (const std::string& keyword : keywords) {
    widest_keyword = std::max(widest_keyword, text_width(cr, group_label(keyword)));
  }
  double widest_legend = 0;
  for (size_t r = 0; r < runs.size(); ++r) {
    widest_legend = std::max(widest_legend, text_width(cr, legend_text(runs, r)));
  }
  select_font(cr, CAIRO_FONT_WEIGHT_BOLD, 16);
  const double title_width = text_width(cr, TITLE);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);

  Layout layout;
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
  const double label_reach = widest_keyword * std::cos(SLANT) + FONT_SIZE;
  layout.plot_left = std::max(MARGIN_LEFT, label_reach - layout.group_width / 2 + 10);
  layout.plot_top = TITLE_HEIGHT + LEGEND_LINE * runs.size() + 20;
  layout.width = layout.plot_left + std::max({layout.plot_width + MARGIN_RIGHT,
                                              SWATCH + 8 + widest_legend + 20, title_width + 20});
  layout.height = layout.plot_top + PLOT_HEIGHT + LABEL_GAP + label_reach + 10;
  // The line at 100 is always on the chart, and the tallest bar stays
  // clear of the top.
  const int lowest_decade =
      std::max(-FARTHEST_DECADE, static_cast<int>(std::floor(std::log10(std::min(lowest, 100.0)))));
  const int highest_decade = std::min(
      FARTHEST_DECADE,
      static_cast<int>(std::ceil(std::log10(std::max(highest, 100.0)) + std::log10(1.05))));
  layout.decade_step =
      static_cast<int>(std::ceil((highest_decade - lowest_decade) * LABEL_SPACING / PLOT_HEIGHT));
  layout.lowest_decade =
      static_cast<int>(std::floor(double(lowest_decade) / layout.decade_step) * layout.decade_step);
  layout.highest_decade =
      static_cast<int>(std::ceil(double(highest_decade) / layout.decade_step) * layout.decade_step);
  return layout;
}

// Behind the bars: every other group on a light band, so that a bar's
// group is plain, and the grid of the score scale.
void draw_background(cairo_t* cr, const Layout& layout, size_t groups) {
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
  for (size_t g = 1; g < groups; g += 2) {
    cairo_rectangle(cr, layout.plot_left + g * layout.group_width, layout.plot_top,
                    layout.group_width, PLOT_HEIGHT);
  }
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
  cairo_set_line_width(cr, 1);
  for (int decade = layout.lowest_decade + layout.decade_step; decade <= layout.highest_decade;
       decade += layout.decade_step) {
    const double y = std::round(layout.y(std::pow(10.0, decade))) + 0.5;
    cairo_move_to(cr, layout.plot_left, y);
    cairo_line_to(cr, layout.plot_left + layout.plot_width, y);
  }
  cairo_stroke(cr);
}

void draw_axes(cairo_t* cr, const Layout& layout) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  const double base = std::round(layout.y(layout.bottom())) + 0.5;
  cairo_move_to(cr, layout.plot_left + 0.5, layout.plot_top);
  cairo_line_to(cr, layout.plot_left + 0.5, base);
  cairo_line_to(cr, layout.plot_left + layout.plot_width, base);
  cairo_stroke(cr);
  char label[32];
  for (int decade = layout.lowest_decade; decade <= layout.highest_decade;
       decade += layout.decade_step) {
    const double value = std::pow(10.0, decade);
    std::snprintf(label, sizeof label, "%g", value);
    show_text_at(cr, layout.plot_left - 6, layout.y(value) + FONT_SIZE / 3, label, 1.0);
  }
  cairo_save(cr);
  cairo_translate(cr, layout.plot_left - 62, layout.plot_top + PLOT_HEIGHT / 2);
  cairo_rotate(cr, -std::numbers::pi / 2);
  show_text_at(cr, 0, 0, "score", 0.5);
  cairo_restore(cr);

  const double y = std::round(layout.y(100)) + 0.5;
  const double dashes[] = {6, 4};
  cairo_set_source_rgb(cr, 0.75, 0.0, 0.0);
  cairo_set_line_width(cr, 1.5);
  cairo_set_dash(cr, dashes, 2, 0);
  cairo_move_to(cr, layout.plot_left, y);
  cairo_line_to(cr, layout.plot_left + layout.plot_width, y);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  // Named also where the axis has no tick at 100.
  show_text_at(cr, layout.plot_left + layout.plot_width + 4, y + FONT_SIZE / 3, "100", 0.0);
}

void draw_groups(cairo_t* cr, const Layout& layout, const std::vector<RunFile>& runs,
                 const std::vector<std::string>& keywords) {
  for (size_t g = 0; g < keywords.size(); ++g) {
    const double left = layout.plot_left + g * layout.group_width;
    for (size_t r = 0; r < runs.size(); ++r) {
      const TestResult* test = runs[r].find(keywords[g]);
      if (!test || test->status != TestStatus::timed || !test->score) continue;
      const double top = layout.y(*test->score);
      set_colour(cr, PALETTE[r % PALETTE_SIZE]);
      cairo_rectangle(cr, left + GROUP_GAP / 2 + r * layout.bar_width, top, layout.bar_width,
                      layout.y(layout.bottom()) - top);
      cairo_fill(cr);
    }
    // The keyword ends under the group's middle and runs down to the left.
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_translate(cr, left + layout.group_width / 2, layout.y(layout.bottom()) + LABEL_GAP);
    cairo_rotate(cr, -SLANT);
    show_text_at(cr, 0, FONT_SIZE / 2, group_label(keywords[g]), 1.0);
    cairo_restore(cr);
  }
}

void draw_legend(cairo_t* cr, const Layout& layout, const std::vector<RunFile>& runs) {
  for (size_t r = 0; r < runs.size(); ++r) {
    const double y = TITLE_HEIGHT + LEGEND_LINE * r;
    set_colour(cr, PALETTE[r % PALETTE_SIZE]);
    cairo_rectangle(cr, layout.plot_left, y, SWATCH, SWATCH);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show_text_at(cr, layout.plot_left + SWATCH + 8, y + 12, legend_text(runs, r), 0.0);
  }
}

void draw(cairo_t* cr, const Layout& layout, const std::vector<RunFile>& runs,
          const std::vector<std::string>& keywords) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  select_font(cr, CAIRO_FONT_WEIGHT_BOLD, 16);
  cairo_set_source_rgb(cr, 0, 0, 0);
  show_text_at(cr, layout.plot_left, 26, TITLE, 0.0);
  select_font(cr, CAIRO_FONT_WEIGHT_NORMAL, FONT_SIZE);
  draw_legend(cr, layout, runs);
  draw_background(cr, layout, keywords.size());
  draw_groups(cr, layout, runs, keywords);
  draw_axes(cr, layout);
}

// Cairo's stream output; the stream keeps the first write error.
cairo_status_t write_to_stream(void* stream, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<FILE*>(stream)) == length
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

// Draws the chart into `stream` in `format`; returns cairo's verdict.
cairo_status_t write_chart(FILE* stream, ChartFormat format, const Layout& layout,
                           const std::vector<RunFile>& runs,
                           const std::vector<std::string>& keywords) {
  cairo_surface_t* surface = nullptr;
  switch (format) {
    case ChartFormat::png:
      surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::ceil(layout.width),
                                           std::ceil(layout.height));
      break;
    case ChartFormat::svg:
      surface =
          cairo_svg_surface_create_for_stream(write_to_stream, stream, layout.width, layout.height);
      break;
    case ChartFormat::pdf:
      surface =
          cairo_pdf_surface_create_for_stream(write_to_stream, stream, layout.width, layout.height);
      break;
  }
  cairo_t* cr = cairo_create(surface);
  draw(cr, layout, runs, keywords);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS && format == ChartFormat::png) {
    status = cairo_surface_write_to_png_stream(surface, write_to_stream, stream);
  }
  // The vector surfaces write the rest of the file here.
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  return status;
}

}  // namespace

std::optional<ChartFormat> chart_format_for(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "png") return ChartFormat::png;
  if (extension == "svg") return ChartFormat::svg;
  if (extension == "pdf") return ChartFormat::pdf;
  return std::nullopt;
}

void write_comparison_chart(const std::string& path, ChartFormat format,
                            const std::vector<RunFile>& runs) {
  const std::vector<std::string> keywords = compared_keywords(runs);
  // A score of 0 cannot stand on the logarithmic scale; its bar stays at
  // the bottom.
  double lowest = 100;
  double highest = 100;
  for (const RunFile& run : runs) {
    for (const TestResult& test : run.tests) {
      if (test.status != TestStatus::timed || !test.score || *test.score <= 0) continue;
      lowest = std::min(lowest, *test.score);
      highest = std::max(highest, *test.score);
    }
  }
  const Layout layout = lay_out(runs, keywords, lowest, highest);
  const double width = std::ceil(layout.width);
  const double height = std::ceil(layout.height);
  if (format == ChartFormat::png &&
      (std::max(width, height) > LARGEST_PNG_SIDE || width * height > LARGEST_PNG_PIXELS)) {
    char size[160];
    std::snprintf(size, sizeof size,
                  "the chart would be %.0f x %.0f pixels, more than a PNG chart may have (%.0f a "
                  "side, %.0f million in all); an .svg or .pdf chart has no such limit",
                  width, height, LARGEST_PNG_SIDE, LARGEST_PNG_PIXELS / 1e6);
    throw std::runtime_error("cannot draw " + path + ": " + size);
  }

  ReplacementFile file;
  if (!open_replacement(&file, path.c_str())) {
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  }
  const cairo_status_t status = write_chart(file.stream, format, layout, runs, keywords);
  // A write that failed is told by the stream, with its reason; anything
  // else by cairo.
  if (status != CAIRO_STATUS_SUCCESS && !std::ferror(file.stream)) {
    discard_replacement(&file);
    throw std::runtime_error("cannot draw " + path + ": " + cairo_status_to_string(status));
  }
  if (commit_replacement(&file) != nullptr) {
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  }
}
