// The user's settings: the command line and the start panel fill them in,
// and they stay fixed from START on, but for `loops`: a run with a
// precision target, or one a signal interrupted, sets it after its last
// pass to the passes it completed, so that the report and the result files
// are those of a run of that many passes. The suites read them through a
// const reference. The run owns one RunOptions and hands it down by
// reference.
#pragma once

#include <cstdint>
#include <string>

#include "core/version.h"

// The longest name the command line and the panel take: 255 characters.
// Both check it where the text comes in.
constexpr int FILE_NAME_MAX = 255;
constexpr const char* DEFAULT_REPORT_FILE = "result.tvl";
// How long a run with a precision target may go on when -budget does not
// say: ten minutes, some nine default passes on a CPU renderer and dozens
// on a GPU, so that a target the machine cannot reach ends the run in a
// time a user or a CI job waits for, rather than never.
constexpr double DEFAULT_BUDGET_SECONDS = 600.0;

struct RunOptions {
  int32_t loops = 1;         // -1: endless
  bool loops_given = false;  // -loop was on the command line
  // -precision: passes go on until every timed test's 95% confidence
  // interval of the trimmed mean pass time its score uses is within this
  // percentage of it, which takes 4 passes or more (0: no target, the loop
  // count decides), -budget seconds have run, or the passes allowed
  // (-loop, else the TIME_SLOTS slots) are done.
  double precision_percent = 0.0;
  double budget_seconds = 0.0;  // 0: DEFAULT_BUDGET_SECONDS
  std::string report_file = DEFAULT_REPORT_FILE;
  std::string pass_file = "pass.def";
  bool quarter = false;
  bool auto_pass = true;
  bool status_only = false;
  bool test_loop = false;
  bool stop_screen_saver = true;
  bool show_count = true;
  // The depth buffer the first 3D window asks for (-zbits); every later one
  // asks for what the one before was granted (RunState::depth_bits_asked).
  int32_t depth_bits = 32;
  // Leave the 3D window's swap interval to the driver instead of setting 0.
  bool vsync = false;
  // Check each timed test's picture against its reference (off: -nocheck).
  bool check_pictures = true;
  // Result files for other programs beside the report; empty: none.
  std::string json_file;
  std::string csv_file;
  // Keep the run's results in the history of runs (core/run_history.h);
  // a desktop run keeps them without it (-history).
  bool keep_history = false;
  // Keywords separated by commas, of every -only given: only these tests
  // run, and the pass definition file is not read. Empty: the pass
  // definition decides.
  std::string only_tests;
  // Validation: every test draws once at test-loop counts on a picture of
  // its own and is compared with its reference; what differs goes here.
  // Empty: a timed run.
  std::string validate_dir;
  // Draw the test windows off-screen through EGL, with no X connection:
  // on EGL device egl_device, or for -1 on the first GPU EGL finds, else
  // on Mesa's software renderer.
  bool offscreen = false;
  int32_t egl_device = -1;
  bool exit_requested = false;
  bool usage_error = false;  // exit_requested because the command line was wrong
  // Unattended: no panel, messages on stderr, progress on stdout, no
  // viewer (-batch).
  bool batch = false;
  // -turns: the socket on which tarvelin-compare -ab hands this run its
  // turns (app/turn_channel.h); -1: none, the run times when it likes.
  int32_t turns_fd = -1;

  bool validating() const { return !validate_dir.empty(); }
  bool has_precision_target() const { return precision_percent > 0.0; }
  bool takes_turns() const { return turns_fd >= 0; }
};
