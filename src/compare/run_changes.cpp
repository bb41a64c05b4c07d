#include "compare/run_changes.h"

#include <algorithm>
#include <cstdio>

#include "core/printable.h"

namespace {

// Where the test drew: files written before the field existed all drew in
// X windows.
constexpr const char* OLDEST_PLATFORM = "glx";

// The times a test's score follows: a quarter run's passes draw a quarter
// of the iterations, and its score counts them four times over.
std::vector<double> full_length_seconds(const RunFile& run, const TestResult& test) {
  std::vector<double> seconds = test.pass_seconds;
  if (run.quarter) {
    for (double& value : seconds) value *= 4.0;
  }
  return seconds;
}

// Fixed-point as the table writes it; exponent form from a billion on.
std::string number(double value, const char* fixed, const char* exponent) {
  char text[48];
  std::snprintf(text, sizeof text, value < 1e9 ? fixed : exponent, value);
  return text;
}

// A later run's decisions against the first: a row per test and full total
// that the table gives a ratio, all decided together, so that the
// correction counts every row the run is weighed on.
RunChanges decide_run(const RunFile& first, const RunFile& run,
                      const std::vector<std::string>& keywords, double threshold_percent) {
  RunChanges decided;
  decided.other.platform =
      run.platform.value_or(OLDEST_PLATFORM) != first.platform.value_or(OLDEST_PLATFORM);
  decided.other.renderer = run.renderer != first.renderer;
  decided.tests.resize(keywords.size());
  std::vector<DecisionRow> rows;
  std::vector<std::optional<Decision>*> places;  // where each row's decision goes
  for (size_t k = 0; k < keywords.size(); ++k) {
    const TestResult* test = run.find(keywords[k]);
    const TestResult* first_test = first.find(keywords[k]);
    const std::optional<double> shown = score_ratio(test, first_test);
    if (!shown) continue;
    rows.push_back({shown, trimmed_ratio(full_length_seconds(first, *first_test),
                                         full_length_seconds(run, *test), false)});
    places.push_back(&decided.tests[k]);
  }
  const auto add_total = [&](const GroupValues& total, const GroupValues& first_total,
                             std::optional<Decision>& place) {
    const std::optional<double> shown = total_ratio(total, first_total);
    if (!shown) return;
    rows.push_back({shown, trimmed_ratio(first_total.pass_values, total.pass_values, true)});
    places.push_back(&place);
  };
  add_total(run.total_3d, first.total_3d, decided.total_3d);
  add_total(run.total_2d, first.total_2d, decided.total_2d);
  const std::vector<Decision> decisions = decide_rows(rows, threshold_percent);
  for (size_t i = 0; i < decisions.size(); ++i) *places[i] = decisions[i];
  return decided;
}

}  // namespace

Changes decide_changes(const std::vector<RunFile>& runs, double threshold_percent) {
  Changes changes{threshold_percent, std::vector<RunChanges>(runs.size())};
  const std::vector<std::string> keywords = compared_keywords(runs);
  for (size_t r = 1; r < runs.size(); ++r) {
    changes.runs[r] = decide_run(runs[0], runs[r], keywords, threshold_percent);
  }
  return changes;
}

bool any_test_change(const Changes& changes, Change change) {
  const auto is = [change](const std::optional<Decision>& decision) {
    return decision && decision->change == change;
  };
  return std::any_of(changes.runs.begin(), changes.runs.end(), [&](const RunChanges& run) {
    return std::any_of(run.tests.begin(), run.tests.end(), is);
  });
}

std::vector<std::string> slowdown_lines(const std::vector<RunFile>& runs, const Changes& changes) {
  const std::vector<std::string> keywords = compared_keywords(runs);
  std::vector<std::string> lines;
  for (size_t r = 1; r < runs.size(); ++r) {
    const RunChanges& run = changes.runs[r];
    const auto add = [&](const std::optional<Decision>& decision, const std::string& row,
                         std::optional<double> ratio) {
      if (!decision || decision->change != Change::slower) return;
      const double p = decision->p_value.value_or(1.0);
      lines.push_back(change_text(*decision, run.other) + ": " + row + " in run " +
                      std::to_string(r + 1) + " (" + printable(runs[r].path) + "): " +
                      number(ratio.value_or(decision->ratio), "x%.2f", "x%.2e") + ", corrected p " +
                      (p < 0.0001 ? "< 0.0001" : "= " + number(p, "%.4f", "%.4f")));
    };
    for (size_t k = 0; k < keywords.size(); ++k) {
      add(run.tests[k], printable(keywords[k], LONGEST_NAME),
          score_ratio(runs[r].find(keywords[k]), runs[0].find(keywords[k])));
    }
    add(run.total_3d, "3D total", total_ratio(runs[r].total_3d, runs[0].total_3d));
    add(run.total_2d, "2D total", total_ratio(runs[r].total_2d, runs[0].total_2d));
  }
  return lines;
}
