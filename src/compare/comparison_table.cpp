#include "compare/comparison_table.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/printable.h"

namespace {

// Fixed-point, as scores are read; from a billion on (more than any run
// scores) in exponent form, so that a damaged file's 1e300 keeps its cell
// narrow.
std::string number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, value < 1e9 ? "%.*f" : "%.*e", decimals, value);
  return text;
}

// Characters, not bytes: "±" takes two bytes and one column.
size_t width(const std::string& text) {
  return std::count_if(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

std::string padded(const std::string& text, size_t to, bool right) {
  const std::string gap(to - std::min(to, width(text)), ' ');
  return right ? gap + text : text + gap;
}

// A cell's three pieces, each aligned within its column: the value, the
// ratio to the first run and a note (the spread, or "implemented").
struct Cell {
  std::array<std::string, 3> pieces;
};
constexpr std::array<bool, 3> PIECE_RIGHT_ALIGNED = {true, true, false};

std::string ratio(std::optional<double> value, std::optional<double> first) {
  if (!value || !first || *first <= 0) return "";
  return "x" + number(*value / *first, 2);
}

Cell test_cell(const TestResult* test, const TestResult* first_test, bool first) {
  if (!test) return {{"-", "", ""}};
  switch (test->status) {
    case TestStatus::skipped_by_check:
      return {{"skipped", "", ""}};
    case TestStatus::left_out:
      return {{"left out", "", ""}};
    case TestStatus::not_run:
      return {{"not run", "", ""}};
    case TestStatus::timed:
      break;
  }
  if (!test->score) return {{"inf", "", ""}};
  Cell cell{{number(*test->score, 1), "", ""}};
  if (!first && first_test && first_test->status == TestStatus::timed) {
    cell.pieces[1] = ratio(test->score, first_test->score);
  }
  if (test->cv) cell.pieces[2] = "±" + number(*test->cv * 100.0, 1) + "%";
  return cell;
}

Cell total_cell(const GroupValues& total, const GroupValues& first_total, bool first) {
  if (total.total) {
    return {{number(*total.total, 1), first ? "" : ratio(total.total, first_total.total), ""}};
  }
  if (total.implemented) return {{number(*total.implemented, 1), "", "implemented"}};
  return {{"n/a", "", ""}};
}

struct Row {
  std::string name;
  std::vector<Cell> cells;
};

}  // namespace

std::string comparison_table(const std::vector<RunFile>& runs) {
  std::string text;
  for (size_t r = 0; r < runs.size(); ++r) {
    text += "run " + std::to_string(r + 1) + ": " + printable(runs[r].path) + ", " +
            printable(runs[r].renderer.value_or("(no renderer string)")) + ", started " +
            printable(runs[r].started) + "\n";
  }
  text += "\n";

  Row header{"test", {}};
  Row platforms{"", {}};
  bool platform_known = false;
  for (size_t r = 0; r < runs.size(); ++r) {
    header.cells.push_back({{"run " + std::to_string(r + 1)}});
    platforms.cells.push_back({{printable(runs[r].platform.value_or("-"), LONGEST_NAME)}});
    platform_known |= runs[r].platform.has_value();
  }
  std::vector<Row> rows;
  for (const std::string& keyword : compared_keywords(runs)) {
    Row row{printable(keyword, LONGEST_NAME), {}};
    const TestResult* first_test = runs[0].find(keyword);
    for (size_t r = 0; r < runs.size(); ++r) {
      row.cells.push_back(test_cell(runs[r].find(keyword), first_test, r == 0));
    }
    rows.push_back(std::move(row));
  }
  Row total_3d{"3D total", {}};
  Row total_2d{"2D total", {}};
  for (size_t r = 0; r < runs.size(); ++r) {
    total_3d.cells.push_back(total_cell(runs[r].total_3d, runs[0].total_3d, r == 0));
    total_2d.cells.push_back(total_cell(runs[r].total_2d, runs[0].total_2d, r == 0));
  }
  rows.push_back(std::move(total_3d));
  rows.push_back(std::move(total_2d));

  // Widths of the name column and of each piece of each run's column; the
  // header's run name spans the whole column.
  size_t name_width = width(header.name);
  std::vector<std::array<size_t, 3>> piece_widths(runs.size());
  for (const Row& row : rows) {
    name_width = std::max(name_width, width(row.name));
    for (size_t r = 0; r < runs.size(); ++r) {
      for (size_t p = 0; p < 3; ++p) {
        piece_widths[r][p] = std::max(piece_widths[r][p], width(row.cells[r].pieces[p]));
      }
    }
  }
  std::vector<size_t> column_widths(runs.size());
  for (size_t r = 0; r < runs.size(); ++r) {
    size_t used = 0;
    for (size_t p = 0; p < 3; ++p) {
      if (piece_widths[r][p] > 0) used += (used > 0 ? 1 : 0) + piece_widths[r][p];
    }
    column_widths[r] =
        std::max({used, width(header.cells[r].pieces[0]), width(platforms.cells[r].pieces[0])});
  }

  auto write_row = [&](const Row& row, bool is_header) {
    std::string line = padded(row.name, name_width, false);
    for (size_t r = 0; r < runs.size(); ++r) {
      std::string cell;
      if (is_header) {
        cell = row.cells[r].pieces[0];
      } else {
        for (size_t p = 0; p < 3; ++p) {
          if (piece_widths[r][p] == 0) continue;
          if (!cell.empty()) cell += ' ';
          cell += padded(row.cells[r].pieces[p], piece_widths[r][p], PIECE_RIGHT_ALIGNED[p]);
        }
      }
      line += "   " + padded(cell, column_widths[r], false);
    }
    // Padding the last column leaves trailing blanks that say nothing.
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + "\n";
  };
  write_row(header, true);
  if (platform_known) write_row(platforms, true);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i == rows.size() - 2) text += "\n";
    write_row(rows[i], false);
  }
  return text;
}
