#include "app/pass_loop.h"

#include <ctime>
#include <string>
#include <vector>

#include "app/exit_status.h"
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

// One 3D window, then one 2D window; each test waits for its turn where
// the run takes turns.
bool run_pass(BenchmarkRun& run, TurnChannel* turns = nullptr) {
  RunState& state = run.run_state;
  state.results.begin_pass();
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
  for (const RunMode mode : {RUN_MODE_3D, RUN_MODE_2D}) {
    if (!run_test_window(mode, run.run_options, state, run.scene, run.progress, hooks)) {
      return false;
    }
  }
  state.results.end_pass();
  return true;
}

// Passes until precision_stop gives a reason; false when a window fails.
bool run_precision_passes(BenchmarkRun& run) {
  RunState& state = run.run_state;
  for (int32_t passes = 1;; ++passes) {
    if (!run_pass(run)) return false;
    const double elapsed = elapsed_seconds(state.record.clock.start_ns, platform::clock_ns());
    state.record.precision_stop = precision_stop(run.run_options, state.results, passes, elapsed);
    if (state.record.precision_stop.empty()) continue;
    // The report and the result files are those of a run of that many
    // passes.
    run.run_options.loops = passes;
    return true;
  }
}

// Passes while tarvelin-compare -ab hands them out, at most one per time
// slot; false when a window fails or none was handed out.
bool run_turn_passes(BenchmarkRun& run) {
  TurnChannel turns(run.run_options.turns_fd);
  int32_t passes = 0;
  while (turns.another_pass(passes + 1)) {
    if (passes == TIME_SLOTS) turns.refuse("handed a pass beyond the time slots a run keeps");
    if (!run_pass(run, &turns)) return false;
    run.run_options.loops = ++passes;
    turns.pass_done(run.run_options, run.run_state.results, passes);
  }
  return passes > 0;
}

// Loop counts of 0 and 1 both run one pass; a negative count never ends.
// False when a window fails.
bool run_counted_passes(BenchmarkRun& run) {
  const RunOptions& options = run.run_options;
  int32_t passes_left = options.status_only || options.validating() ? 1 : options.loops;
  for (;;) {
    if (!run_pass(run)) return false;
    if (options.loops < 0 && !options.validating()) continue;
    if (--passes_left <= 0) return true;
  }
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

  const bool drawn = options.takes_turns()            ? run_turn_passes(run)
                     : options.has_precision_target() ? run_precision_passes(run)
                                                      : run_counted_passes(run);
  if (!drawn) return exit_after_window_failure(options);
  clock.end_ns = platform::clock_ns();
  clock.end_raw_ns = platform::raw_clock_ns();
  state.record.duration_seconds = elapsed_seconds(clock.start_ns, clock.end_ns);
  return std::nullopt;
}
