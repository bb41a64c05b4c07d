#include "compare/chart_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/printable.h"

namespace {

struct Colour {
  double r, g, b;
};
// Told apart also by readers with a colour vision deficiency.
constexpr Colour PALETTE[] = {{0.00, 0.45, 0.70}, {0.90, 0.62, 0.00}, {0.00, 0.62, 0.45},
                              {0.84, 0.37, 0.00}, {0.34, 0.71, 0.91}, {0.80, 0.47, 0.65},
                              {0.94, 0.89, 0.26}, {0.00, 0.00, 0.00}};
constexpr size_t PALETTE_SIZE = sizeof PALETTE / sizeof PALETTE[0];
// The outline of a marked bar, and the swatch of the mark's legend line.
constexpr Colour MARK_COLOUR = {0.80, 0.00, 0.00};
constexpr Colour MARK_SWATCH = {0.60, 0.60, 0.60};
// The triangles of decided changes: dark against the bars and bands alike.
constexpr Colour CHANGE_COLOUR = {0.20, 0.20, 0.20};

void set_colour(cairo_t* cr, const Colour& colour) {
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
}

// Draws `text` with its baseline at y; `align` 0 puts its start at x, 1 its
// end, 0.5 its middle.
void show_text_at(cairo_t* cr, double x, double y, const std::string& text, double align) {
  cairo_move_to(cr, x - align * text_width(cr, text), y);
  cairo_show_text(cr, text.c_str());
}

// Marks the bar (or swatch) at x, y of w by h, already filled: white lines
// across it and an outline inside its edges, which tell it apart whatever
// its colour, and from its neighbours.
void mark_bar(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 1.5);
  for (double across = -h; across < w; across += HATCH_SPACING) {
    cairo_move_to(cr, x + across, y + h);
    cairo_line_to(cr, x + across + h, y);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  set_colour(cr, MARK_COLOUR);
  cairo_set_line_width(cr, 2);
  cairo_rectangle(cr, x + 1, y + 1, w - 2, h - 2);
  cairo_stroke(cr);
}

// The triangle of a decided change, centred on x, `width` wide, with its
// lower end at `base`: pointing down for slower, up for faster.
void draw_change_mark(cairo_t* cr, double x, double base, double width, Change change) {
  const double height = width * 0.8;
  const bool down = change == Change::slower;
  set_colour(cr, CHANGE_COLOUR);
  cairo_move_to(cr, x - width / 2, down ? base - height : base);
  cairo_line_to(cr, x + width / 2, down ? base - height : base);
  cairo_line_to(cr, x, down ? base : base - height);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// Behind the bars: every other group on a light band, so that a bar's
// group is plain, and the grid of the score scale.
void draw_background(cairo_t* cr, const Layout& layout, size_t groups) {
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
  for (size_t g = 1; g < groups; g += 2) {
    cairo_rectangle(cr, layout.plot_left + g * layout.group_width, layout.plot_top,
                    layout.group_width, layout.plot_height);
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
  cairo_translate(cr, layout.plot_left - 62, layout.plot_top + layout.plot_height / 2);
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
                 const std::vector<std::string>& keywords, const Changes* changes) {
  for (size_t g = 0; g < keywords.size(); ++g) {
    const double left = layout.plot_left + g * layout.group_width;
    for (size_t r = 0; r < runs.size(); ++r) {
      const TestResult* test = runs[r].find(keywords[g]);
      if (!has_bar(test)) continue;
      const double x = left + GROUP_GAP / 2 + r * layout.bar_width;
      const double top = layout.y(*test->score);
      const double height = layout.y(layout.bottom()) - top;
      set_colour(cr, PALETTE[r % PALETTE_SIZE]);
      cairo_rectangle(cr, x, top, layout.bar_width, height);
      cairo_fill(cr);
      if (marked_bar(test)) mark_bar(cr, x, top, layout.bar_width, height);
      const std::optional<Decision>& decision =
          changes && r > 0 ? changes->runs[r].tests[g] : std::nullopt;
      if (decision && (decision->change == Change::slower || decision->change == Change::faster)) {
        draw_change_mark(cr, x + layout.bar_width / 2, top - CHANGE_MARK_GAP,
                         std::min(CHANGE_MARK_WIDTH, layout.bar_width), decision->change);
      }
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
  double y = TITLE_HEIGHT + LEGEND_LINE * runs.size();
  if (layout.marked) {
    set_colour(cr, MARK_SWATCH);
    cairo_rectangle(cr, layout.plot_left, y, SWATCH, SWATCH);
    cairo_fill(cr);
    mark_bar(cr, layout.plot_left, y, SWATCH, SWATCH);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show_text_at(cr, layout.plot_left + SWATCH + 8, y + 12, MARK_LEGEND, 0.0);
    y += LEGEND_LINE;
  }
  for (const Change change : {Change::slower, Change::faster}) {
    const bool slower = change == Change::slower;
    if (!(slower ? layout.slower : layout.faster)) continue;
    draw_change_mark(cr, layout.plot_left + SWATCH / 2, y + SWATCH - 1, CHANGE_MARK_WIDTH + 2,
                     change);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show_text_at(cr, layout.plot_left + SWATCH + 8, y + 12,
                 slower ? layout.slower_legend : layout.faster_legend, 0.0);
    y += LEGEND_LINE;
  }
}

}  // namespace

void draw_chart(cairo_t* cr, const Layout& layout, const std::vector<RunFile>& runs,
                const std::vector<std::string>& keywords, const Changes* changes) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  select_font(cr, CAIRO_FONT_WEIGHT_BOLD, 16);
  cairo_set_source_rgb(cr, 0, 0, 0);
  show_text_at(cr, layout.plot_left, 26, TITLE, 0.0);
  select_font(cr, CAIRO_FONT_WEIGHT_NORMAL, FONT_SIZE);
  draw_legend(cr, layout, runs);
  draw_background(cr, layout, keywords.size());
  draw_groups(cr, layout, runs, keywords, changes);
  draw_axes(cr, layout);
}
