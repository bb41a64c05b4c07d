#include "app/run_sequence.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/pass_definition_file.h"
#include "app/results_window.h"
#include "app/start_panel.h"
#include "app/test_windows.h"
#include "core/confidence.h"
#include "core/picture.h"
#include "core/printable.h"
#include "core/progress_title.h"
#include "core/run_history.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "core/stopwatch.h"
#include "judge/picture_checks.h"
#include "judge/validation.h"
#include "platform/platform.h"
#include "report/report.h"
#include "report/result_files.h"
#include "report/run_verdict.h"
#include "report/statistics.h"
#include "report/status_text.h"
#include "scene3d/scene_state.h"
#include "scene3d/surface_mesh.h"

namespace {

// The desktop program's statuses, kept on purpose (docs/architecture.md):
// a completed run ends with 1, an abandoned one with 0.
constexpr int EXIT_ABANDONED = 0;
constexpr int EXIT_DONE = 1;
// Without an X display the desktop program cannot start at all.
constexpr int EXIT_NO_DISPLAY = 1;
constexpr int BATCH_DONE = 0;
constexpr int BATCH_FAILED = 1;
constexpr int BATCH_USAGE = 2;

// Everything one run owns: the command line's words, the settings, the run's state with its
// results, the 3D scene and the progress shown. Handed down by reference; nothing of it is
// process-wide.
struct BenchmarkRun {
  WordTable words;
  RunOptions run_options;
  RunState run_state;
  SceneState scene;
  ProgressTitle progress{run_options};
  Validation validation{run_options, run_state, progress};
  PictureChecks picture_checks{run_options, run_state, progress};
};

int exit_after_options(const RunOptions& options) {
  if (!options.batch) return EXIT_ABANDONED;
  return options.usage_error ? BATCH_USAGE : BATCH_DONE;
}

int exit_after_window_failure(const RunOptions& options) {
  platform::resume_screen_saver();
  return options.batch ? BATCH_FAILED : EXIT_ABANDONED;
}

// With -only or -validate the pass definition file is not read, so not
// warned about.
void check_pass_file(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  const bool readable = !options.only_tests.empty() || run.run_options.validating() ||
                        platform::read_access(options.pass_file.c_str());
  run.run_state.pass_file_missing = !readable;
}

// A validation run draws every test, so that the generator's sequence, and
// with it every picture, is always the same.
PassSelection select_passes(const BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  if (run.run_options.validating()) return PassSelection{{}, TEST_COUNT};
  if (options.only_tests.empty()) return read_pass_definition(options.pass_file.c_str());
  std::vector<std::string> unknown;  // refused with the command line already
  return select_tests(options.only_tests, &unknown);
}

// START as the result files tell it: ISO 8601 in UTC.
std::string utc_now() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// X windows on the display; off-screen through EGL where the command line
// asks for it, or in batch mode where no display can be opened. False, told
// on stderr, when the tests can draw nowhere.
bool choose_where_to_draw(BenchmarkRun& run) {
  RunOptions& options = run.run_options;
  if (!options.offscreen && !platform::display_open()) {
    if (!options.batch) {
      std::fprintf(stderr,
                   "tarvelin: cannot open the X display; set DISPLAY to a running X server\n");
      return false;
    }
    std::fprintf(stderr, "tarvelin: no X display; the tests draw off-screen through EGL\n");
    options.offscreen = true;
  }
  if (!options.offscreen) return true;
  std::string error;
  if (!start_offscreen_windows(options, run.run_state.environment_info, &error)) {
    std::fprintf(stderr, "tarvelin: %s\n", error.c_str());
    return false;
  }
  return true;
}

// The panel until START, or in batch mode the settings of the command line
// taken as if START had been pressed on an untouched panel.
void run_start_panel(BenchmarkRun& run) {
  reconcile_panel_flags(run.run_options);
  StartPanel panel(run.run_options, run.run_state);
  if (!run.run_options.batch) {
    panel.show();
    return;
  }
  // What the panel would show about the pass file, the user is told here.
  char warning[MESSAGE_SIZE];
  if (panel.warning_line(warning, sizeof warning)) {
    std::fprintf(stderr, "%s\n", warning);
    std::fflush(stderr);
  }
  const platform::Size screen = platform::screen_size();
  panel.press_start(PANEL_RECT, screen.width, screen.height);
}

// One 3D window, then one 2D window.
bool run_pass(BenchmarkRun& run) {
  RunState& state = run.run_state;
  state.results.begin_pass();
  PictureHooks hooks;
  if (run.run_options.validating()) {
    hooks.test_drawn = [&run](const TestInfo& test, TestWindow& window) {
      run.validation.check(test, window);
    };
  } else if (run.picture_checks.wanted()) {
    hooks.check_picture = [&run](const TestInfo& test, TestWindow& window, PictureSource source) {
      run.picture_checks.check(test, window, source);
    };
  }
  for (const RunMode mode : {RUN_MODE_3D, RUN_MODE_2D}) {
    if (!run_test_window(mode, run.run_options, state, run.scene, run.progress, hooks)) {
      return false;
    }
  }
  state.results.end_pass();
  return true;
}

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
  if (!info.renderer_string || !is_software_renderer(*info.renderer_string)) return names;
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
                    gpus_beside(state.environment_info)});
}

// A validation run writes no report: its verdicts, the result files if
// asked for, and a word of how it went.
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

void announce_end(const RunOptions& options, const ReportFile& report) {
  if (options.test_loop) {
    platform::message_box("tarvelin", "BenchMark complete.");
  } else if (!options.batch) {
    show_report(report);
    platform::beep();
  }
}

// The command line, where the tests draw and the panel, up to START; an
// exit status when the run ends before it.
std::optional<int> settle_settings(BenchmarkRun& run, int argc, char** argv) {
  RunOptions& options = run.run_options;
  run.run_state.record.command_line.assign(argv, argv + argc);
  argc = take_mode_options(argc, argv, options);
  platform::set_batch_mode(options.batch);
  // Message boxes need the display; its absence is told below. Off-screen
  // no X connection is made at all.
  if (!options.offscreen) platform::open_display();

  OptionMessage message;
  split_command_line(argc, argv, &run.words, options, message);
  if (!options.exit_requested) parse_options(run.words, options, message);
  if (options.exit_requested) return exit_after_options(options);
  if (!choose_where_to_draw(run)) return options.batch ? BATCH_FAILED : EXIT_NO_DISPLAY;

  build_surface_mesh(run.scene.surface_mesh);
  check_pass_file(run);
  run_start_panel(run);
  if (!run.run_state.start_pressed) return EXIT_DONE;
  // The panel may have changed what the command line asked for.
  if (const std::string conflict = conflicting_settings(options); !conflict.empty()) {
    platform::message_box("Error", conflict.c_str());
    return options.batch ? BATCH_USAGE : EXIT_ABANDONED;
  }
  return std::nullopt;
}

// A run with a precision target makes at most the passes -loop gives, and
// never more than there are time slots.
int32_t precision_pass_limit(const RunOptions& options) {
  return options.loops_given ? std::clamp(options.loops, 1, TIME_SLOTS) : TIME_SLOTS;
}

// After pass number `passes` of a run with a precision target: why it stops
// now, or nothing when it goes on.
std::string precision_stop(const BenchmarkRun& run, int32_t passes) {
  const RunOptions& options = run.run_options;
  const RunState& state = run.run_state;
  if (passes >= MIN_DECIDING_PASSES &&
      precision_misses(state.results, passes, options.precision_percent).empty()) {
    return "target met";
  }
  const double budget =
      options.budget_seconds > 0.0 ? options.budget_seconds : DEFAULT_BUDGET_SECONDS;
  if (elapsed_seconds(state.record.clock.start_ns, platform::clock_ns()) >= budget) {
    return "budget spent";
  }
  if (passes >= precision_pass_limit(options)) return "passes allowed done";
  return {};
}

// From START to the end of the last pass; an exit status when a window
// fails.
std::optional<int> run_passes(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  RunState& state = run.run_state;
  state.record.started_utc = utc_now();
  state.depth_bits_asked = options.depth_bits;
  ClockReadings& clock = state.record.clock;
  clock.start_ns = platform::clock_ns();
  clock.start_raw_ns = platform::raw_clock_ns();
  if (state.environment_info.offscreen()) {
    run.progress.note(offscreen_line(state.environment_info).c_str());
  }
  const PassSelection selection = select_passes(run);
  run.progress.progress_total = selection.progress_total;
  if (options.has_precision_target()) {
    run.progress.progress_total *= precision_pass_limit(options);
  } else if (options.loops > 0 && !options.validating()) {
    run.progress.progress_total *= options.loops;
  }
  state.results.select(selection.skip_flags);
  if (options.stop_screen_saver) platform::suspend_screen_saver();
  if (options.validating() && !run.validation.prepare()) return exit_after_window_failure(options);

  if (options.has_precision_target()) {
    for (int32_t passes = 1;; ++passes) {
      if (!run_pass(run)) return exit_after_window_failure(options);
      state.record.precision_stop = precision_stop(run, passes);
      if (state.record.precision_stop.empty()) continue;
      // The report and the result files are those of a run of that many
      // passes.
      run.run_options.loops = passes;
      break;
    }
  } else {
    // Loop counts of 0 and 1 both run one pass; a negative count never ends.
    int32_t passes_left = options.status_only || options.validating() ? 1 : options.loops;
    for (;;) {
      if (!run_pass(run)) return exit_after_window_failure(options);
      if (options.loops < 0 && !options.validating()) continue;
      if (--passes_left <= 0) break;
    }
  }
  clock.end_ns = platform::clock_ns();
  clock.end_raw_ns = platform::raw_clock_ns();
  state.record.duration_seconds = elapsed_seconds(clock.start_ns, clock.end_ns);
  return std::nullopt;
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

// A timed run ends with its report, the result files asked for, the run
// kept in the history, the viewer or the completion box, the summary lines
// and on the desktop the results window.
int end_timed_run(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  platform::resume_screen_saver();
  run.picture_checks.finish();
  const std::optional<RunVerdict> verdict = judge(run);
  ReportFile report(options, run.run_state.environment_info, run.run_state.results);
  write_report(report, options);
  const std::string json = run_json(run, verdict ? &*verdict : nullptr);
  const bool results_written = write_result_files(run, json);
  const bool window = !options.batch && has_scores(options);
  std::optional<RunFile> previous;
  if (window) {
    previous = previous_run(history_folder(), run.run_state.environment_info.renderer_string);
  }
  const KeptRun kept = keep_in_history(options, run.run_state.record.started_utc, json);
  announce_end(options, report);
  print_summary_lines(run, verdict);
  if (window) show_results(report, json, verdict, previous, kept);
  if (options.batch) {
    return report.report_failed() || !results_written ? BATCH_FAILED : BATCH_DONE;
  }
  return EXIT_DONE;
}

}  // namespace

int run_benchmark(int argc, char** argv) {
  // About 300 KB with the mesh: kept off the stack.
  const auto owned = std::make_unique<BenchmarkRun>();
  BenchmarkRun& run = *owned;
  if (const std::optional<int> status = settle_settings(run, argc, argv)) return *status;
  if (const std::optional<int> status = run_passes(run)) return *status;
  return run.run_options.validating() ? end_validation(run) : end_timed_run(run);
}
