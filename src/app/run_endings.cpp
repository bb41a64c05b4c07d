#include "app/run_endings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/interruption.h"
#include "app/options.h"
#include "app/results_window.h"
#include "core/printable.h"
#include "core/run_history.h"
#include "core/test_hooks.h"
#include "platform/platform.h"
#include "report/report.h"
#include "report/result_files.h"
#include "report/run_verdict.h"
#include "report/summary_lines.h"

namespace {

void write_report(ReportFile& report, const RunOptions& options) {
  report.write_environment_status();
  if (options.status_only) {
    report.close_report();
  } else {
    report.write_results();
  }
}

// The viewer gets the report's absolute path, so that a name beginning
// with "-" cannot be taken for an option; no report, no viewer.
void show_report(const ReportFile& report_file) {
  const char* report = report_file.written_report_path();
  if (report == nullptr) return;
  char absolute[PATH_MAX];
  if (realpath(report, absolute) == nullptr) return;
  platform::open_in_viewer(absolute);
}

// The run's results as the JSON result file holds them.
std::string run_json(const BenchmarkRun& run, const RunVerdict* verdict) {
  const RunState& state = run.run_state;
  return results_json(run.run_options, state.environment_info, state.results, state.record,
                      verdict);
}

// The JSON (`json`) and CSV files the command line asked for, written like
// the report; false when one of them could not be written where asked.
bool write_result_files(const BenchmarkRun& run, const std::string& json) {
  const RunOptions& options = run.run_options;
  if (!report_wanted(options)) return true;
  const RunState& state = run.run_state;
  bool written = true;
  if (!options.json_file.empty()) {
    written &= write_result_file(options.json_file.c_str(), json, ".json");
  }
  if (!options.csv_file.empty()) {
    written &=
        write_result_file(options.csv_file.c_str(), results_csv(options, state.results), ".csv");
  }
  return written;
}

// Lines a test harness can match: the totals, once the report has them,
// and the verdict.
void print_summary_lines(const BenchmarkRun& run, const std::optional<RunVerdict>& verdict) {
  const RunOptions& options = run.run_options;
  if (!options.batch) return;
  std::string lines;
  if (options.has_precision_target()) {
    lines += precision_lines(options, run.run_state.results, run.run_state.record);
  }
  if (report_wanted(options)) lines += summary_lines(options, run.run_state.results);
  if (verdict) lines += verdict_lines(*verdict);
  std::fputs(lines.c_str(), stdout);
  std::fflush(stdout);
}

// The GPUs EGL lists beside the renderer the run measured, named as the
// verdict names them; looked for only when that renderer is software.
std::vector<std::string> gpus_beside(const EnvironmentInfo& info) {
  std::vector<std::string> names;
  if (!measures_software(info)) return names;
  const std::vector<platform::GlDevice> devices = platform::list_gl_devices(false);
  for (size_t i = 0; i < devices.size(); ++i) {
    if (devices[i].software) continue;
    names.push_back("EGL device " + std::to_string(i) +
                    (devices[i].drm_file.empty() ? "" : " " + devices[i].drm_file));
  }
  return names;
}

// Whether the run's numbers can be trusted; nothing to judge in a
// status-only run.
std::optional<RunVerdict> judge(const BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  const RunState& state = run.run_state;
  if (options.status_only) return std::nullopt;
  return judge_run({options, state.results, state.environment_info,
                    state.counts[RepeatCount::swaps], state.record.clock,
                    gpus_beside(state.environment_info), hooks_in_effect()});
}

// An interrupted run says what it kept; the user asked it to stop, so no
// viewer opens and no results window waits.
void announce_end(const BenchmarkRun& run, const ReportFile& report) {
  const RunOptions& options = run.run_options;
  if (run.run_state.record.interrupted) {
    std::fprintf(
        stderr,
        "tarvelin: interrupted by %s; the report and result files hold the %d pass%s completed\n",
        interruption_name(interruption_signal()), options.loops, options.loops == 1 ? "" : "es");
  } else if (options.test_loop) {
    platform::message_box("tarvelin", "BenchMark complete.");
  } else if (!options.batch) {
    show_report(report);
    platform::beep();
  }
}

// On the desktop a run with scores ends in the results window, beside the
// run of the same renderer kept before it (looked for before this one is
// kept).
void show_results(const ReportFile& report, const std::string& json,
                  const std::optional<RunVerdict>& verdict, const std::optional<RunFile>& previous,
                  const KeptRun& kept) {
  ResultsWindowInput input{
      {}, previous, verdict ? verdict_lines(*verdict, "Verdict: ") : "", kept, nullptr};
  try {
    input.run = parse_run_file(json, kept.path);
  } catch (const BadInput& error) {  // only a fault of the writer: the report stands
    std::fprintf(stderr, "tarvelin: no results window: %s\n", error.what());
    return;
  }
  if (report.written_report_path() != nullptr) {
    input.open_report = [&report] { show_report(report); };
  }
  show_results_window(input);
}

}  // namespace

int end_timed_run(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  platform::resume_screen_saver();
  run.picture_checks.finish();
  const std::optional<RunVerdict> verdict = judge(run);
  ReportFile report(options, run.run_state.environment_info, run.run_state.results);
  write_report(report, options);
  const std::string json = run_json(run, verdict ? &*verdict : nullptr);
  const bool results_written = write_result_files(run, json);
  const bool interrupted = run.run_state.record.interrupted;
  const bool window = !options.batch && has_scores(options) && !interrupted;
  std::optional<RunFile> previous;
  if (window) {
    previous = previous_run(history_folder(), run.run_state.environment_info.renderer_string);
  }
  const KeptRun kept = keep_in_history(options, run.run_state.record.started_utc, json);
  announce_end(run, report);
  print_summary_lines(run, verdict);
  if (window) show_results(report, json, verdict, previous, kept);
  if (interrupted) return interruption_exit_status();
  if (options.batch) {
    return report.report_failed() || !results_written ? BATCH_FAILED : BATCH_DONE;
  }
  return EXIT_DONE;
}

int end_validation(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  platform::resume_screen_saver();
  const bool summary_written = run.validation.write_summary();
  const bool results_written = write_result_files(run, run_json(run, nullptr));
  const ValidationCounts counts = run.validation.counts();
  std::string text = std::to_string(counts.checked) + " of " + std::to_string(TEST_COUNT) +
                     " pictures checked, " + std::to_string(counts.differing) +
                     " of them differ from their references";
  if (counts.skipped > 0) {
    text += "; " + std::to_string(counts.skipped) + " skipped";
  }
  if (counts.not_checked > 0) {
    text += "; " + std::to_string(counts.not_checked) + " not checked";
  }
  const std::string summary = printable(options.validate_dir) + "/summary.txt";
  text += summary_written ? "; see " + summary : "; " + summary + " could not be written";
  platform::message_box("Validation", text.c_str());
  if (!options.batch) return EXIT_DONE;
  // A picture not checked is not known to be right.
  const bool all_right = counts.differing == 0 && counts.not_checked == 0;
  return all_right && summary_written && results_written ? BATCH_DONE : BATCH_FAILED;
}
