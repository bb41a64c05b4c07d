#include "compare/comparison_table.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "compare/claim_text.h"
#include "core/confidence.h"
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

// A cell's pieces, each aligned within its column: the value, its mark, the
// ratio to the first run, the interval of the ratio and the decision on it
// (both with -threshold) and a note (the spread, or "implemented"). The
// mark follows the value without a gap.
enum Piece { VALUE, MARK, RATIO, INTERVAL, DECISION, NOTE, PIECES };
struct Cell {
  std::array<std::string, PIECES> pieces;
};
constexpr std::array<bool, PIECES> PIECE_RIGHT_ALIGNED = {true, false, true, true, false, false};

constexpr const char* DIFFERED_MARK = "!";
constexpr const char* DIFFERED_NOTE =
    "the test's picture differed from its reference: the score times drawing that went wrong";

}  // namespace

// Appended rather than "x" + number(...): g++ 12 at -O3 falsely warns of
// overlapping copies (-Wrestrict) for a literal before a temporary string.
std::string ratio_text(std::optional<double> ratio) {
  if (!ratio) return "";
  std::string text = "x";
  return text.append(number(*ratio, 2));
}

std::string interval_text(const Decision& decision) {
  if (!decision.low || !decision.high) return "";
  return "[" + number(*decision.low, 2) + ", " + number(*decision.high, 2) + "]";
}

std::string group_value_text(const GroupValues& values) {
  if (values.total) return number(*values.total, 1);
  if (values.implemented) return number(*values.implemented, 1) + " implemented";
  return "n/a";
}

namespace {

Cell test_cell(const TestResult* test, const TestResult* first_test, bool first) {
  if (!test) return {{"-"}};
  switch (test->status) {
    case TestStatus::skipped_by_check:
    case TestStatus::skipped_off_screen:
      return {{"skipped"}};
    case TestStatus::left_out:
      return {{"left out"}};
    case TestStatus::not_run:
      return {{"not run"}};
    case TestStatus::timed:
      break;
  }
  Cell cell{{test->score ? number(*test->score, 1) : "inf"}};
  if (test->picture_differed) cell.pieces[MARK] = DIFFERED_MARK;
  if (!test->score) return cell;
  if (!first) cell.pieces[RATIO] = ratio_text(score_ratio(test, first_test));
  if (test->cv) cell.pieces[NOTE] = "±" + number(*test->cv * 100.0, 1) + "%";
  return cell;
}

Cell total_cell(const GroupValues& total, const GroupValues& first_total, bool first) {
  if (total.total) {
    return {
        {number(*total.total, 1), "", first ? "" : ratio_text(total_ratio(total, first_total))}};
  }
  if (total.implemented) {
    Cell cell{{number(*total.implemented, 1)}};
    cell.pieces[NOTE] = "implemented";
    return cell;
  }
  return {{"n/a"}};
}

struct Row {
  std::string name;
  std::vector<Cell> cells;
};

// "trusted", "not trusted (pictures_differ, software_renderer)", or "-"
// for a run not judged.
std::string verdict_text(const std::optional<Verdict>& verdict) {
  if (!verdict) return "-";
  std::string text = verdict->trusted ? "trusted" : "not trusted";
  for (size_t i = 0; i < verdict->finding_kinds.size(); ++i) {
    text += (i == 0 ? " (" : ", ") + printable(verdict->finding_kinds[i], LONGEST_NAME);
  }
  return text + (verdict->finding_kinds.empty() ? "" : ")");
}

// Each run's line: its number, file, renderer, start and verdict.
std::string run_lines(const std::vector<RunFile>& runs) {
  std::string text;
  for (size_t r = 0; r < runs.size(); ++r) {
    text += "run " + std::to_string(r + 1) + ": " + printable(runs[r].path) + ", " +
            printable(runs[r].renderer.value_or("(no renderer string)")) + ", started " +
            printable(runs[r].started) + ", verdict: " + verdict_text(runs[r].verdict) + "\n";
  }
  return text;
}

// The header rows: the runs' names, and under them their platforms where
// any run names one.
std::vector<Row> header_rows(const std::vector<RunFile>& runs) {
  Row names{"test", {}};
  Row platforms{"", {}};
  bool platform_known = false;
  for (size_t r = 0; r < runs.size(); ++r) {
    names.cells.push_back({{"run " + std::to_string(r + 1)}});
    platforms.cells.push_back({{printable(runs[r].platform.value_or("-"), LONGEST_NAME)}});
    platform_known |= runs[r].platform.has_value();
  }
  if (!platform_known) return {names};
  return {names, platforms};
}

// Run r's decisions against the first, none without `changes` and in the
// first run.
class RunDecisions {
 public:
  RunDecisions(const Changes* changes, size_t r)
      : run_(changes && r > 0 ? &changes->runs[r] : nullptr),
        threshold_(changes ? changes->threshold_percent : 0),
        paired_(changes && changes->paired) {}

  // The cell with the claim of its decision (claim_text, on the passes of
  // both sides) and the interval it rests on, where there are.
  Cell decided(Cell cell, const std::optional<Decision>& decision, size_t passes_first,
               size_t passes_later) const {
    if (!decision) return cell;
    // The ratio the decision weighed, where it rests on an estimate: a
    // change is never decided inside the threshold in the ratio shown.
    if (decision->low) cell.pieces[RATIO] = ratio_text(decision->ratio);
    cell.pieces[DECISION] =
        claim_text(*decision, passes_first, passes_later, threshold_, run_->other, paired_);
    if (decision->low && decision->high) cell.pieces[INTERVAL] = interval_text(*decision);
    return cell;
  }
  Cell test(Cell cell, size_t k, const TestResult* first, const TestResult* later) const {
    if (!run_ || !first || !later) return cell;
    return decided(cell, run_->tests[k], first->pass_seconds.size(), later->pass_seconds.size());
  }
  Cell total(Cell cell, bool is_3d, const GroupValues& first, const GroupValues& later) const {
    if (!run_) return cell;
    return decided(cell, is_3d ? run_->total_3d : run_->total_2d, first.pass_values.size(),
                   later.pass_values.size());
  }

 private:
  const RunChanges* run_;
  double threshold_;
  bool paired_;
};

// A row per compared test, then the two totals; decisions from `changes`
// where given.
std::vector<Row> body_rows(const std::vector<RunFile>& runs, const Changes* changes) {
  std::vector<Row> rows;
  const std::vector<std::string> keywords = compared_keywords(runs);
  for (size_t k = 0; k < keywords.size(); ++k) {
    Row row{printable(keywords[k], LONGEST_NAME), {}};
    const TestResult* first_test = runs[0].find(keywords[k]);
    for (size_t r = 0; r < runs.size(); ++r) {
      const TestResult* test = runs[r].find(keywords[k]);
      row.cells.push_back(
          RunDecisions(changes, r).test(test_cell(test, first_test, r == 0), k, first_test, test));
    }
    rows.push_back(std::move(row));
  }
  Row total_3d{"3D total", {}};
  Row total_2d{"2D total", {}};
  for (size_t r = 0; r < runs.size(); ++r) {
    const RunDecisions decisions(changes, r);
    total_3d.cells.push_back(decisions.total(total_cell(runs[r].total_3d, runs[0].total_3d, r == 0),
                                             true, runs[0].total_3d, runs[r].total_3d));
    total_2d.cells.push_back(decisions.total(total_cell(runs[r].total_2d, runs[0].total_2d, r == 0),
                                             false, runs[0].total_2d, runs[r].total_2d));
  }
  rows.push_back(std::move(total_3d));
  rows.push_back(std::move(total_2d));
  return rows;
}

// Widths of the name column and of each piece of each run's column; a
// header's text spans the whole column.
class TableLayout {
 public:
  TableLayout(const std::vector<Row>& headers, const std::vector<Row>& rows, size_t runs)
      : pieces_(runs), columns_(runs) {
    for (const Row& row : rows) {
      name_ = std::max(name_, width(row.name));
      for (size_t r = 0; r < runs; ++r) {
        for (size_t p = 0; p < PIECES; ++p) {
          pieces_[r][p] = std::max(pieces_[r][p], width(row.cells[r].pieces[p]));
        }
      }
    }
    for (size_t r = 0; r < runs; ++r) {
      for (size_t p = 0; p < PIECES; ++p) {
        if (pieces_[r][p] > 0) columns_[r] += (columns_[r] > 0 ? gap(p) : 0) + pieces_[r][p];
      }
    }
    for (const Row& header : headers) {
      name_ = std::max(name_, width(header.name));
      for (size_t r = 0; r < runs; ++r) {
        columns_[r] = std::max(columns_[r], width(header.cells[r].pieces[0]));
      }
    }
  }

  // The row's line: a header's text whole, a body row's pieces aligned.
  std::string line(const Row& row, bool is_header) const {
    std::string text = padded(row.name, name_, false);
    for (size_t r = 0; r < columns_.size(); ++r) {
      std::string cell;
      if (is_header) {
        cell = row.cells[r].pieces[0];
      } else {
        for (size_t p = 0; p < PIECES; ++p) {
          if (pieces_[r][p] == 0) continue;
          if (!cell.empty()) cell += std::string(gap(p), ' ');
          cell += padded(row.cells[r].pieces[p], pieces_[r][p], PIECE_RIGHT_ALIGNED[p]);
        }
      }
      text += "   " + padded(cell, columns_[r], false);
    }
    // Padding the last column leaves trailing blanks that say nothing.
    text.erase(text.find_last_not_of(' ') + 1);
    return text + "\n";
  }

  // Whether any test's cell has a mark, which the note under the table
  // explains.
  bool marked() const {
    return std::any_of(pieces_.begin(), pieces_.end(),
                       [](const std::array<size_t, PIECES>& run) { return run[MARK] > 0; });
  }

 private:
  // The blanks before a piece that follows another.
  static size_t gap(size_t piece) { return piece == MARK ? 0 : 1; }

  size_t name_ = 0;
  std::vector<std::array<size_t, PIECES>> pieces_;
  std::vector<size_t> columns_;
};

// The notes on the decisions: the rule they followed (on two runs' trimmed
// means, or on an -ab session's paired rounds), and each run of another
// setup than the first.
std::vector<std::string> decision_notes(const std::vector<RunFile>& runs, const Changes& changes) {
  char threshold[32];
  std::snprintf(threshold, sizeof threshold, "%g%%", changes.threshold_percent);
  const char* test = changes.paired ? "Student's t on the logs of the rounds' ratios"
                                    : "Yuen's test of the trimmed means on the log scale";
  char fewest[48];
  std::snprintf(fewest, sizeof fewest,
                changes.paired ? "fewer than %d rounds" : "fewer than %d passes on a side",
                changes.paired ? MIN_DECIDING_PASSES : MIN_INTERVAL_PASSES);
  char rule[512];
  std::snprintf(rule, sizeof rule,
                "slower, faster: the ratio beyond %s of run 1 and, by %s corrected for the number "
                "of rows by Holm's method, p < %g; same: the whole %g%% interval within ±%s; "
                "cannot tell: neither, or %s",
                threshold, test, 1.0 - CONFIDENCE, 100.0 * CONFIDENCE, threshold, fewest);
  std::vector<std::string> notes = {rule};
  for (size_t r = 1; r < runs.size(); ++r) {
    const SetupDifference& other = changes.runs[r].other;
    if (!other.any()) continue;
    notes.push_back("run " + std::to_string(r + 1) + " drew on another " + other.what() +
                    " than run 1: its decisions compare two setups, not one over time");
  }
  return notes;
}

}  // namespace

std::string comparison_table(const std::vector<RunFile>& runs, const Changes* changes) {
  const std::vector<Row> headers = header_rows(runs);
  const std::vector<Row> rows = body_rows(runs, changes);
  const TableLayout layout(headers, rows, runs.size());
  std::string text = run_lines(runs) + "\n";
  for (const Row& header : headers) text += layout.line(header, true);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i == rows.size() - 2) text += "\n";  // the totals stand apart
    text += layout.line(rows[i], false);
  }
  std::vector<std::string> notes;
  if (layout.marked()) notes.push_back(std::string(DIFFERED_MARK) + " " + DIFFERED_NOTE);
  if (changes) {
    for (std::string& note : decision_notes(runs, *changes)) notes.push_back(std::move(note));
  }
  if (!notes.empty()) text += "\n";
  for (const std::string& note : notes) text += note + "\n";
  return text;
}
