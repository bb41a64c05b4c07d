#include "compare/chart_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

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
// The marks of decisions: dark against the bars and bands alike.
constexpr Colour CHANGE_COLOUR = {0.20, 0.20, 0.20};
// The whiskers of the scores' intervals.
constexpr Colour WHISKER_COLOUR = {0.00, 0.00, 0.00};

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

// The mark of a decision, centred on x, `width` wide, with its lower end
// at `base`: a triangle pointing down for slower and up for faster, a
// diamond for the same, a ring for cannot tell; told apart by shape alone.
void draw_change_mark(cairo_t* cr, double x, double base, double width, Change change) {
  set_colour(cr, CHANGE_COLOUR);
  const double height = width * 0.8;
  switch (change) {
    case Change::slower:
    case Change::faster: {
      const bool down = change == Change::slower;
      cairo_move_to(cr, x - width / 2, down ? base - height : base);
      cairo_line_to(cr, x + width / 2, down ? base - height : base);
      cairo_line_to(cr, x, down ? base : base - height);
      break;
    }
    case Change::same:
      cairo_move_to(cr, x, base);
      cairo_line_to(cr, x + width / 2, base - width / 2);
      cairo_line_to(cr, x, base - width);
      cairo_line_to(cr, x - width / 2, base - width / 2);
      break;
    case Change::cannot_tell:
      cairo_new_path(cr);
      cairo_arc(cr, x, base - height / 2, (height - 1.5) / 2, 0, 2 * std::numbers::pi);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      return;
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

// A whisker through x from `low` down there to `high` up there, with a cap
// `cap` wide at each end that `capped_low` and `capped_high` say is given:
// dark on a white edge, so that it shows on a bar of any colour and on the
// ground alike.
void draw_whisker(cairo_t* cr, double x, double low, double high, double cap, bool capped_low,
                  bool capped_high) {
  x = std::round(x) + 0.5;
  const auto path = [&] {
    cairo_move_to(cr, x, low);
    cairo_line_to(cr, x, high);
    for (const auto& [y, capped] : {std::pair{low, capped_low}, std::pair{high, capped_high}}) {
      if (!capped) continue;
      cairo_move_to(cr, x - cap / 2, std::round(y) + 0.5);
      cairo_line_to(cr, x + cap / 2, std::round(y) + 0.5);
    }
  };
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 3);
  path();
  cairo_stroke(cr);
  set_colour(cr, WHISKER_COLOUR);
  cairo_set_line_width(cr, 1);
  path();
  cairo_stroke(cr);
}

// The whisker of a bar at x, `width` wide, of a test with an interval;
// returns the whisker's top, where the bar's mark goes above it.
double draw_interval(cairo_t* cr, const Layout& layout, const TestResult& test, double x,
                     double width) {
  const double low = test.score_low ? layout.y(*test.score_low) : layout.y(layout.bottom());
  const double high = test.score_high ? layout.y(*test.score_high) : layout.plot_top;
  draw_whisker(cr, x + width / 2, low, high, std::min(INTERVAL_CAP_WIDTH, width * 0.7),
               test.score_low.has_value(), test.score_high.has_value());
  return high;
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
      const double above =
          has_interval(test) ? std::min(top, draw_interval(cr, layout, *test, x, layout.bar_width))
                             : top;
      const std::optional<Decision>& decision =
          changes && r > 0 ? changes->runs[r].tests[g] : std::nullopt;
      if (decision) {
        draw_change_mark(cr, x + layout.bar_width / 2, above - CHANGE_MARK_GAP,
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
  if (layout.intervals) {
    draw_whisker(cr, layout.plot_left + SWATCH / 2, y + SWATCH, y, INTERVAL_CAP_WIDTH, true, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show_text_at(cr, layout.plot_left + SWATCH + 8, y + 12, INTERVAL_LEGEND, 0.0);
    y += LEGEND_LINE;
  }
  for (const Layout::ChangeLegend& line : layout.change_legends) {
    draw_change_mark(cr, layout.plot_left + SWATCH / 2, y + SWATCH - 1, CHANGE_MARK_WIDTH + 2,
                     line.change);
    cairo_set_source_rgb(cr, 0, 0, 0);
    show_text_at(cr, layout.plot_left + SWATCH + 8, y + 12, line.text, 0.0);
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
