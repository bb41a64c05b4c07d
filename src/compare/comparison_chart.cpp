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

#include "compare/chart_drawing.h"
#include "compare/chart_layout.h"
#include "core/printable.h"
#include "core/replacement_file.h"

namespace {

// Cairo's stream output; the stream keeps the first write error.
cairo_status_t write_to_stream(void* stream, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<FILE*>(stream)) == length
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

// Draws the chart into `stream` in `format`; returns cairo's verdict.
cairo_status_t write_chart(FILE* stream, ChartFormat format, const Layout& layout,
                           const std::vector<RunFile>& runs,
                           const std::vector<std::string>& keywords, const Changes* changes) {
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
  draw_chart(cr, layout, runs, keywords, changes);
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

// The layout of the runs' chart over `keywords`, its scale spanning their
// scores.
Layout lay_out_scores(const std::vector<RunFile>& runs, const std::vector<std::string>& keywords,
                      const Changes* changes, double plot_height) {
  // A score of 0 cannot stand on the logarithmic scale; its bar (or its
  // interval's end) stays at the bottom. The scale spans the intervals too.
  double lowest = 100;
  double highest = 100;
  const auto span = [&](std::optional<double> value) {
    if (!value || *value <= 0) return;
    lowest = std::min(lowest, *value);
    highest = std::max(highest, *value);
  };
  for (const RunFile& run : runs) {
    for (const TestResult& test : run.tests) {
      if (!has_bar(&test)) continue;
      span(test.score);
      span(test.score_low);
      span(test.score_high);
    }
  }
  return lay_out(runs, keywords, lowest, highest, changes, plot_height);
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

ChartPicture draw_chart_picture(const std::vector<RunFile>& runs, double plot_height,
                                const Changes* changes) {
  const std::vector<std::string> keywords = compared_keywords(runs);
  const Layout layout = lay_out_scores(runs, keywords, changes, plot_height);
  ChartPicture picture;
  picture.width = static_cast<int>(std::ceil(layout.width));
  picture.height = static_cast<int>(std::ceil(layout.height));
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
  cairo_t* cr = cairo_create(surface);
  draw_chart(cr, layout, runs, keywords, changes);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    const std::string reason = cairo_status_to_string(cairo_surface_status(surface));
    cairo_surface_destroy(surface);
    throw std::runtime_error("cannot draw the chart: " + reason);
  }
  // Each pixel of an RGB24 surface is a native 32-bit word 0x00RRGGBB.
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  picture.rgb.reserve(size_t(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < picture.width; ++x) {
      picture.rgb.push_back(static_cast<uint8_t>(row[x] >> 16));
      picture.rgb.push_back(static_cast<uint8_t>(row[x] >> 8));
      picture.rgb.push_back(static_cast<uint8_t>(row[x]));
    }
  }
  cairo_surface_destroy(surface);
  return picture;
}

void write_comparison_chart(const std::string& path, ChartFormat format,
                            const std::vector<RunFile>& runs, const Changes* changes) {
  const std::vector<std::string> keywords = compared_keywords(runs);
  const Layout layout = lay_out_scores(runs, keywords, changes, PLOT_HEIGHT);
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
  const cairo_status_t status = write_chart(file.stream, format, layout, runs, keywords, changes);
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
