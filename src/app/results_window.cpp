#include "app/results_window.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "app/options.h"
#include "compare/claim_text.h"
#include "compare/comparison_chart.h"
#include "compare/comparison_table.h"
#include "core/printable.h"
#include "core/run_history.h"
#include "platform/platform.h"

namespace {

// The chart's plot in the window: with the legend (two runs and the line
// of the scores' intervals) and the keywords below it, the chart fits the
// window's scrolled area on a 1024 x 768 screen.
constexpr double WINDOW_PLOT_HEIGHT = 195;
constexpr const char* CHART_NAME = "tarvelin-results.png";
// What names this run in the chart's legend where it could not be kept.
constexpr const char* THIS_RUN = "this run";

std::string file_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// "3D total: 794.1  (before: 1305.7, x0.61, cannot tell: one pass each)":
// the group's value, and where there is a run before, its value and the
// ratio with what `decision` (the ratio's, where it has one) can claim;
// `other` names a run before of another platform.
std::string group_line(const char* group, const GroupValues& values, const GroupValues* before,
                       const std::optional<Decision>& decision, const SetupDifference& other) {
  std::string line = std::string(group) + " total: " + group_value_text(values);
  if (!before) return line;
  line += "  (before: " + group_value_text(*before);
  const std::string ratio = ratio_text(total_ratio(values, *before));
  if (ratio.empty()) return line + ")";
  line += ", " + ratio;
  if (decision) {
    line += ", " + claim_text(*decision, before->pass_values.size(), values.pass_values.size(),
                              DEFAULT_THRESHOLD_PERCENT, other);
  }
  return line + ")";
}

class WindowActions : public platform::ResultsActions {
 public:
  WindowActions(const ResultsWindowInput& input, const std::vector<RunFile>& runs)
      : input_(input), runs_(runs) {}

  void open_report() override {
    if (input_.open_report) input_.open_report();
  }

  std::string save_chart(const std::string& path) override {
    const std::optional<ChartFormat> format = chart_format_for(path);
    if (!format) {
      return "cannot save " + printable(path) + ": the chart's name ends in .png, .svg or .pdf";
    }
    try {
      write_comparison_chart(path, *format, runs_);
    } catch (const std::runtime_error& error) {
      return printable(error.what());
    }
    return {};
  }

 private:
  const ResultsWindowInput& input_;
  const std::vector<RunFile>& runs_;
};

}  // namespace

KeptRun keep_in_history(const RunOptions& options, const std::string& started,
                        const std::string& json) {
  KeptRun kept;
  if (!keeps_history(options)) return kept;
  kept.folder = history_folder();
  try {
    kept.path = keep_run(kept.folder, started, json);
  } catch (const std::runtime_error& error) {
    kept.warning = std::string(error.what()) + "; this run is not kept";
    std::fprintf(stderr, "tarvelin: warning: %s\n", kept.warning.c_str());
    std::fflush(stderr);
  }
  return kept;
}

std::optional<RunFile> previous_run(const std::string& folder,
                                    const std::optional<std::string>& renderer) {
  std::vector<std::string> paths;
  try {
    paths = history_runs(folder);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
  for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
    try {
      RunFile run = read_run_file(*path);
      if (run.renderer == renderer) return run;
    } catch (const BadInput&) {
      // Not one of ours, or damaged: the one before may serve.
    }
  }
  return std::nullopt;
}

std::string results_summary(const RunFile& run, const std::optional<RunFile>& previous,
                            const std::string& verdict, const KeptRun& kept) {
  const std::string renderer = printable(run.renderer.value_or("(no renderer string)"));
  std::string text = "This run: " + renderer + ", started " + printable(run.started) +
                     (run.quarter ? ", quarter time" : "") +
                     (kept.path.empty() ? "" : "; kept as " + printable(kept.path)) + "\n";
  RunChanges decided;
  if (previous) {
    decided = decide_changes({*previous, run}, DEFAULT_THRESHOLD_PERCENT).runs[1];
    // Named where a total's claim rests on it.
    char threshold[80] = "";
    if (decided.total_3d || decided.total_2d) {
      std::snprintf(threshold, sizeof threshold, "; totals decided with a threshold of %g%%",
                    DEFAULT_THRESHOLD_PERCENT);
    }
    text += "Before it: the run of " + printable(previous->started) + " on the same renderer (" +
            printable(previous->path) + ")" + threshold + "\n";
  } else if (!kept.folder.empty()) {
    text += "Before it: no run of this renderer is kept in " + printable(kept.folder) + "\n";
  }
  text += group_line("3D", run.total_3d, previous ? &previous->total_3d : nullptr, decided.total_3d,
                     decided.other) +
          "\n" +
          group_line("2D", run.total_2d, previous ? &previous->total_2d : nullptr, decided.total_2d,
                     decided.other) +
          "\n";
  text += verdict;
  if (!kept.warning.empty()) text += "History: " + printable(kept.warning) + "\n";
  return text;
}

void show_results_window(const ResultsWindowInput& input) {
  std::vector<RunFile> runs;
  if (input.previous) {
    runs.push_back(*input.previous);
    runs.back().path = file_name(runs.back().path);
  }
  runs.push_back(input.run);
  runs.back().path = input.kept.path.empty() ? THIS_RUN : file_name(input.kept.path);

  platform::ResultsView view;
  view.text = results_summary(input.run, input.previous, input.verdict, input.kept);
  ChartPicture chart;
  try {
    chart = draw_chart_picture(runs, WINDOW_PLOT_HEIGHT);
  } catch (const std::runtime_error& error) {
    view.text += printable(error.what()) + "\n";
  }
  view.chart_width = chart.width;
  view.chart_height = chart.height;
  view.chart_rgb = chart.rgb.data();
  view.chart_name = CHART_NAME;
  view.has_report = static_cast<bool>(input.open_report);
  WindowActions actions(input, runs);
  platform::run_results_window(view, actions);
}
