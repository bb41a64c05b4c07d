// The run's own state, owned by the run sequence and handed down by
// reference: whether START was pressed, where the windows open, the
// iteration counts START fixed, the results, what the GL implementation
// told, and the generator.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/bench_rand.h"
#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/run_results.h"
#include "platform/platform.h"

// Screen rectangle; right and bottom are exclusive edges as on the desktop.
// The platform's own, so that a rectangle passes to it as it is.
using ScreenRect = platform::WindowRect;

// The iteration counts of the timed tests, by name.
struct RepeatCounts {
  std::array<int32_t, REPEAT_COUNT_ENTRIES> repeat_counts = DEFAULT_REPEAT_COUNTS;
  int32_t operator[](RepeatCount count) const { return repeat_counts[static_cast<int>(count)]; }
};

// The two clocks read at START and at the end of the last pass: the
// monotonic clock the stopwatch reads, which NTP and adjtimex may slew,
// and the raw hardware clock, which nothing adjusts (0: not available).
struct ClockReadings {
  uint64_t start_ns = 0;
  uint64_t end_ns = 0;
  uint64_t start_raw_ns = 0;
  uint64_t end_raw_ns = 0;
};

// What the run was and when, for the result files.
struct RunRecord {
  std::vector<std::string> command_line;  // the words as given, the program first
  std::string started_utc;                // START, ISO 8601 in UTC; empty before it
  double duration_seconds = 0.0;          // from START to the end of the last pass
  ClockReadings clock;                    // at START and at the end of the last pass
  // What checking the pictures took: from the end of each timed section to
  // the end of its picture's check (check frame, read-back, comparison).
  double check_seconds = 0.0;
  // Why a run with a precision target stopped: "target met", "budget
  // spent", "passes allowed done" or "interrupted"; empty for other runs.
  std::string precision_stop;
  // A signal (SIGINT, SIGTERM) ended the passes early: the results are
  // those of the passes completed before it.
  bool interrupted = false;
};

struct RunState {
  bool start_pressed = false;
  bool pass_file_missing = false;  // the pass file was not readable
  ScreenRect window_rect;          // where every test window opens
  RepeatCounts counts;             // scaled once at START
  // The depth buffer the next 3D window asks for: -zbits at START, then
  // what the 3D window before it was granted.
  int32_t depth_bits_asked = 32;
  RunResults results;
  EnvironmentInfo environment_info;
  RunRecord record;
  // One sequence over the whole run: every position and spin follows from
  // how many values were drawn before.
  BenchRand rand;
  // When the latest timed section ended (clock_ns): where the time its
  // picture's check takes is counted from.
  uint64_t timed_end_ns = 0;
  // The generator as the run's first 2D window found it, where a validation
  // run's 2D tests begin; unset before that window.
  std::optional<BenchRand> first_2d_rand;
};
