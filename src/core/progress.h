// How a suite hands on what happens while it runs: each test's outcome goes
// to the run's results and to a progress reporter, and nothing else is
// written by the drawing code.
#pragma once

#include <functional>

#include "core/catalogue.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "core/stopwatch.h"
#include "core/test_hooks.h"
#include "core/test_window.h"
#include "platform/platform.h"

// Told of each test as it starts and ends; the run decides what is shown
// (window titles, batch lines, nothing at all in a unit test).
class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  // The test is about to run its automatic check and timed section in
  // `window`.
  virtual void test_started(const TestInfo& test, TestWindow& window) = 0;
  // Called after the stopwatch has been read.
  virtual void test_timed(const TestInfo& test, double seconds) = 0;
  // Its automatic check found what it measures missing or without effect;
  // reason says what in a few words, or is null. A test passed over before
  // its title was shown gets no test_started call.
  virtual void test_skipped(const TestInfo& test, const char* reason) = 0;
  // A line about the run, such as which swap interval the 3D window got.
  virtual void note(const char* line) = 0;
};

// What a run hangs on the suites: the two ways it looks at their pictures,
// the turns it takes with another program and its way of stopping early,
// each declared once here; all are empty in a run that checks no picture,
// takes no turns and cannot be interrupted.
struct SuiteHooks {
  // A validation run's: called after each test's turn, outside its timed
  // section, with the test's picture still in the window if it ran.
  std::function<void(const TestInfo&, TestWindow&)> test_drawn;
  // A timed run's that checks its pictures (unless -nocheck). A suite
  // calls it right after each test's timed section, outside it, with the
  // test's picture in the window: the one its timed frames left where the
  // test started as its reference picture did, else a check frame the
  // suite drew in its reference's circumstances.
  std::function<void(const TestInfo&, TestWindow&, PictureSource)> check_picture;
  // A run that takes turns with tarvelin-compare -ab (-turns): called right
  // before each timed section, outside it, and returns when the test may be
  // timed, the other side being idle; then told the seconds it took.
  std::function<void(const TestInfo&)> wait_turn;
  std::function<void(const TestInfo&, double)> turn_timed;
  // A run that a signal may end early (app/interruption.h): asked before
  // each test, outside any timed section; true ends the suite's walk of its
  // tests there, the pass being dropped.
  std::function<bool()> stop_now;
};

// What a suite is handed for one window: the settings to read, the state it
// updates, where outcomes go, the window it draws in and what looks at its
// pictures.
struct SuiteContext {
  const RunOptions& options;
  RunState& state;
  ProgressReporter& progress;
  TestWindow& window;
  SuiteHooks hooks = {};

  // What the test's loop runs to: its repeat count (doubled for the test a
  // test hook slows).
  int32_t count(const TestInfo& test) const {
    return state.counts[test.count] * (slowed_test() == test.id ? 2 : 1);
  }
  bool skipped(TestId id) const { return state.results.skipped(id); }

  void started(TestId id) { progress.test_started(test_catalogue[id], window); }
  // Right before the test's timed section: waits for its turn, if the run
  // takes turns. What this side has queued (the last check frame, the
  // window put back, this test's set-up) is drawn first: a driver that
  // draws in threads of its own would otherwise go on drawing it during the
  // other side's turn, and time it there.
  void wait_turn(TestId id) {
    if (!hooks.wait_turn) return;
    glFinish();
    hooks.wait_turn(test_catalogue[id]);
  }
  // Whether the suite is to stop before its next test.
  bool stop_wanted() const { return hooks.stop_now && hooks.stop_now(); }
  void timed(TestId id, double seconds) {
    state.timed_end_ns = platform::clock_ns();
    state.results.record_time(id, seconds);
    progress.test_timed(test_catalogue[id], seconds);
    if (hooks.turn_timed) hooks.turn_timed(test_catalogue[id], seconds);
  }
  void drawn(TestId id) {
    if (hooks.test_drawn) hooks.test_drawn(test_catalogue[id], window);
  }
  bool checking_pictures() const { return static_cast<bool>(hooks.check_picture); }
  // Hands the test's picture to the check; the time from the end of the
  // timed section to the check's end goes to the run's check_seconds.
  void picture_ready(TestId id, PictureSource source) {
    hooks.check_picture(test_catalogue[id], window, source);
    state.record.check_seconds += elapsed_seconds(state.timed_end_ns, platform::clock_ns());
  }
  void skipped_by_check(TestId id, const char* reason = nullptr) {
    state.results.record_skip(id);
    progress.test_skipped(test_catalogue[id], reason);
  }
  // Off-screen the surface cannot draw the test, whatever the check says.
  void skipped_off_screen(TestId id, const char* reason) {
    state.results.record_skip(id, SKIPPED_OFF_SCREEN);
    progress.test_skipped(test_catalogue[id], reason);
  }
};
