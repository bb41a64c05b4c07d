#include "app/pass_loop.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "app/interruption.h"
#include "app/options.h"
#include "app/pass_definition_file.h"
#include "app/precision_policy.h"
#include "app/test_windows.h"
#include "app/turn_channel.h"
#include "core/stopwatch.h"
#include "platform/platform.h"
#include "report/status_text.h"

namespace {

int exit_after_window_failure(const RunOptions& options) {
  platform::resume_screen_saver();
  return options.batch ? BATCH_FAILED : EXIT_ABANDONED;
}

// A signal before the first pass was complete: there is nothing to keep.
int end_with_nothing_kept() {
  platform::resume_screen_saver();
  std::fprintf(stderr, "tarvelin: interrupted by %s before a pass was complete; nothing is kept\n",
               interruption_name(interruption_signal()));
  return interruption_exit_status();
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

// How a pass ended: every test drawn, a test window that failed, or a
// signal that stopped the run before the pass began or was over.
enum class PassEnd { complete, window_failed, interrupted };

// The hooks of one pass: its pictures' check or validation, the turns it
// takes, and where the run may be interrupted, the stop before a test that
// sets `cut_short`.
SuiteHooks pass_hooks(BenchmarkRun& run, TurnChannel* turns, bool& cut_short) {
  SuiteHooks hooks;
  if (run.run_options.validating()) {
    hooks.test_drawn = [&run](const TestInfo& test, TestWindow& window) {
      run.validation.check(test, window);
    };
  } else if (run.picture_checks.wanted()) {
    hooks.check_picture = [&run](const TestInfo& test, TestWindow& window, PictureSource source) {
      run.picture_checks.check(test, window, source);
    };
  }
  if (turns != nullptr) {
    hooks.wait_turn = [turns](const TestInfo& test) { turns->wait_turn(test); };
    hooks.turn_timed = [turns](const TestInfo& test, double seconds) {
      turns->timed(test, seconds);
    };
  }
  if (interruption_wanted(run.run_options)) {
    hooks.stop_now = [&cut_short] { return cut_short = interruption_signal() != 0; };
  }
  return hooks;
}

// One 3D window, then one 2D window; each test waits for its turn where
// the run takes turns. A pass that a signal stops, before a window or a
// test, is dropped: the results are put back as the passes before it left
// them.
PassEnd run_pass(BenchmarkRun& run, TurnChannel* turns = nullptr) {
  RunState& state = run.run_state;
  const RunResults completed = state.results;
  state.results.begin_pass();
  bool cut_short = false;
  const SuiteHooks hooks = pass_hooks(run, turns, cut_short);
  for (const RunMode mode : {RUN_MODE_3D, RUN_MODE_2D}) {
    if (interruption_signal() != 0) cut_short = true;
    if (cut_short) break;
    if (!run_test_window(mode, run.run_options, state, run.scene, run.progress, hooks)) {
      return PassEnd::window_failed;
    }
  }
  if (cut_short) {
    state.results = completed;
    return PassEnd::interrupted;
  }
  state.results.end_pass();
  return PassEnd::complete;
}

// Where a loop ends on a pass that did not complete: an interrupted run
// keeps the passes before it, as a run of that many passes.
PassEnd end_early(BenchmarkRun& run, PassEnd end, int32_t completed) {
  if (end != PassEnd::interrupted) return end;
  run.run_options.loops = completed;
  if (run.run_options.has_precision_target())
    run.run_state.record.precision_stop = PRECISION_INTERRUPTED;
  return end;
}

// Passes until precision_stop gives a reason.
PassEnd run_precision_passes(BenchmarkRun& run) {
  RunState& state = run.run_state;
  for (int32_t passes = 1;; ++passes) {
    if (const PassEnd end = run_pass(run); end != PassEnd::complete) {
      return end_early(run, end, passes - 1);
    }
    const double elapsed = elapsed_seconds(state.record.clock.start_ns, platform::clock_ns());
    state.record.precision_stop = precision_stop(run.run_options, state.results, passes, elapsed);
    if (state.record.precision_stop.empty()) continue;
    // The report and the result files are those of a run of that many
    // passes.
    run.run_options.loops = passes;
    return PassEnd::complete;
  }
}

// Passes while tarvelin-compare -ab hands them out, at most one per time
// slot; a window failure also when none was handed out. The session stops
// its sides itself, so no signal is watched here.
PassEnd run_turn_passes(BenchmarkRun& run) {
  TurnChannel turns(run.run_options.turns_fd);
  int32_t passes = 0;
  while (turns.another_pass(passes + 1)) {
    if (passes == TIME_SLOTS) turns.refuse("handed a pass beyond the time slots a run keeps");
    if (run_pass(run, &turns) != PassEnd::complete) return PassEnd::window_failed;
    run.run_options.loops = ++passes;
    turns.pass_done(run.run_options, run.run_state.results, passes);
  }
  return passes > 0 ? PassEnd::complete : PassEnd::window_failed;
}

// Loop counts of 0 and 1 both run one pass; a negative count never ends.
PassEnd run_counted_passes(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  int32_t passes_left = options.status_only || options.validating() ? 1 : options.loops;
  for (int32_t passes = 1;; ++passes) {
    if (const PassEnd end = run_pass(run); end != PassEnd::complete) {
      return end_early(run, end, passes - 1);
    }
    if (options.loops < 0 && !options.validating()) continue;
    if (--passes_left <= 0) return PassEnd::complete;
  }
}

PassEnd run_all_passes(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  if (options.takes_turns()) return run_turn_passes(run);
  // From the first pass to the end of the last: a signal while the report
  // is written ends the process as ever.
  std::optional<InterruptionWatch> watch;
  if (interruption_wanted(options)) watch.emplace();
  return options.has_precision_target() ? run_precision_passes(run) : run_counted_passes(run);
}

}  // namespace

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
  if (options.takes_turns()) {
    run.progress.progress_total *= TIME_SLOTS;
  } else if (options.has_precision_target()) {
    run.progress.progress_total *= precision_pass_limit(options);
  } else if (options.loops > 0 && !options.validating()) {
    run.progress.progress_total *= options.loops;
  }
  state.results.select(selection.skip_flags);
  if (options.stop_screen_saver) platform::suspend_screen_saver();
  if (options.validating() && !run.validation.prepare()) return exit_after_window_failure(options);

  const PassEnd end = run_all_passes(run);
  if (end == PassEnd::window_failed) return exit_after_window_failure(options);
  clock.end_ns = platform::clock_ns();
  clock.end_raw_ns = platform::raw_clock_ns();
  state.record.duration_seconds = elapsed_seconds(clock.start_ns, clock.end_ns);
  // A signal noted after the last test still ends the run as one.
  state.record.interrupted = interruption_signal() != 0;
  // end_early has set loops to the passes completed.
  if (end == PassEnd::interrupted && options.loops == 0) return end_with_nothing_kept();
  return std::nullopt;
}
