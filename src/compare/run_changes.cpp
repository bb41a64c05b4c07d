#include "compare/run_changes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/pass_statistics.h"
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

// A score follows its trimmed mean pass time, so two runs' score ratio is
// the inverse ratio of those means; a file changed by hand or by a tool
// that scaled one and not the other is not decided on either.
constexpr double SCORE_AGREEMENT = 1e-3;
constexpr const char* SCORES_DISAGREE = "the scores and pass times disagree";

bool scores_follow_passes(double shown, const std::vector<double>& first,
                          const std::vector<double>& later) {
  const auto measured = [](const std::vector<double>& seconds) {
    return !seconds.empty() && std::all_of(seconds.begin(), seconds.end(), [](double value) {
      return std::isfinite(value) && value > 0.0;
    });
  };
  // Times that are no measurement are the estimate's to refuse.
  if (!measured(first) || !measured(later)) return true;
  const double follows =
      trimmed_mean_of(first.data(), first.size()) / trimmed_mean_of(later.data(), later.size());
  // Means past the doubles' range follow nothing that can be compared.
  return !std::isfinite(follows) || std::fabs(shown / follows - 1.0) <= SCORE_AGREEMENT;
}

// Fixed-point as the table writes it; exponent form from a billion on.
std::string number(double value, const char* fixed, const char* exponent) {
  char text[48];
  std::snprintf(text, sizeof text, value < 1e9 ? fixed : exponent, value);
  return text;
}

}  // namespace

RunChanges decide_run(const RunFile& first, const RunFile& run,
                      const std::vector<std::string>& keywords, double threshold_percent,
                      const RowEstimates& estimates) {
  RunChanges decided;
  decided.tests.resize(keywords.size());
  std::vector<DecisionRow> rows;
  std::vector<std::optional<Decision>*> places;  // where each row's decision goes
  for (size_t k = 0; k < keywords.size(); ++k) {
    const TestResult* test = run.find(keywords[k]);
    const TestResult* first_test = first.find(keywords[k]);
    const std::optional<double> shown = score_ratio(test, first_test);
    if (!shown) continue;
    rows.push_back(estimates.test(first, *first_test, run, *test, *shown));
    places.push_back(&decided.tests[k]);
  }
  const auto add_total = [&](const GroupValues& total, const GroupValues& first_total,
                             std::optional<Decision>& place) {
    const std::optional<double> shown = total_ratio(total, first_total);
    if (!shown) return;
    rows.push_back(estimates.total(first_total, total, *shown));
    places.push_back(&place);
  };
  add_total(run.total_3d, first.total_3d, decided.total_3d);
  add_total(run.total_2d, first.total_2d, decided.total_2d);
  const std::vector<Decision> decisions = decide_rows(rows, threshold_percent);
  for (size_t i = 0; i < decisions.size(); ++i) *places[i] = decisions[i];
  return decided;
}

Changes decide_changes(const std::vector<RunFile>& runs, double threshold_percent) {
  // Two runs' passes, measured apart: their trimmed means, the ratio shown
  // being the scores'.
  const RowEstimates trimmed{
      [](const RunFile& first, const TestResult& first_test, const RunFile& run,
         const TestResult& test, double shown) {
        const std::vector<double> before = full_length_seconds(first, first_test);
        const std::vector<double> after = full_length_seconds(run, test);
        if (!scores_follow_passes(shown, before, after)) {
          return DecisionRow{shown, std::nullopt, SCORES_DISAGREE};
        }
        return DecisionRow{shown, trimmed_ratio(before, after, false)};
      },
      [](const GroupValues& first, const GroupValues& total, double shown) {
        return DecisionRow{shown, trimmed_ratio(first.pass_values, total.pass_values, true)};
      }};
  Changes changes{threshold_percent, std::vector<RunChanges>(runs.size())};
  const std::vector<std::string> keywords = compared_keywords(runs);
  for (size_t r = 1; r < runs.size(); ++r) {
    changes.runs[r] = decide_run(runs[0], runs[r], keywords, threshold_percent, trimmed);
    const RunFile& run = runs[r];
    changes.runs[r].other.platform =
        run.platform.value_or(OLDEST_PLATFORM) != runs[0].platform.value_or(OLDEST_PLATFORM);
    changes.runs[r].other.renderer = run.renderer != runs[0].renderer;
  }
  return changes;
}

bool any_change(const Changes& changes, Change change) {
  const auto is = [change](const std::optional<Decision>& decision) {
    return decision && decision->change == change;
  };
  return any_test_change(changes, change) ||
         std::any_of(changes.runs.begin(), changes.runs.end(),
                     [&](const RunChanges& run) { return is(run.total_3d) || is(run.total_2d); });
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
    const auto add = [&](const std::optional<Decision>& decision, const std::string& row) {
      if (!decision || decision->change != Change::slower) return;
      const double p = decision->p_value.value_or(1.0);
      lines.push_back(change_text(*decision, run.other) + ": " + row + " in run " +
                      std::to_string(r + 1) + " (" + printable(runs[r].path) +
                      "): " + number(decision->ratio, "x%.2f", "x%.2e") + ", corrected p " +
                      (p < 0.0001 ? "< 0.0001" : "= " + number(p, "%.4f", "%.4f")));
    };
    for (size_t k = 0; k < keywords.size(); ++k) {
      add(run.tests[k], printable(keywords[k], LONGEST_NAME));
    }
    add(run.total_3d, "3D total");
    add(run.total_2d, "2D total");
  }
  return lines;
}
