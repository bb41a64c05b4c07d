// The user's settings: the command line and the start panel fill them in,
// and they stay fixed from START on. The run owns one RunOptions and hands it
// down by reference.
#pragma once

#include <cstdint>
#include <string>

#include "core/version.h"

constexpr int FILE_NAME_SIZE = 256;  // 255 characters and the terminator
constexpr const char* DEFAULT_RESULT_FILE = "result.tvl";

// Flags are 32-bit integers holding 0 or 1.
struct RunOptions {
  int32_t loops = 1;  // -1: endless
  char result_file[FILE_NAME_SIZE] = "result.tvl";
  char pass_file[FILE_NAME_SIZE] = "pass.def";
  int32_t quarter = 0;
  int32_t auto_pass = 1;
  int32_t status_only = 0;
  int32_t test_loop = 0;
  int32_t stop_screen_saver = 1;
  int32_t show_count = 1;
  int32_t depth_bits = 32;  // requested, then the depth each 3D set-up was granted
  // Leave the 3D window's swap interval to the driver instead of setting 0.
  int32_t vsync = 0;
  // Result files for other programs beside the report; empty: none.
  char json_file[FILE_NAME_SIZE] = "";
  char csv_file[FILE_NAME_SIZE] = "";
  // Keywords separated by commas, of every -only given: only these tests
  // run, and the pass definition file is not read. Empty: the pass
  // definition decides.
  std::string only_tests;
  // Validation: every test draws once at test-loop counts on a picture of
  // its own and is compared with its reference; what differs goes here.
  // Empty: a timed run.
  char validate_dir[FILE_NAME_SIZE] = "";
  bool validating() const { return validate_dir[0] != '\0'; }
  // Draw the test windows off-screen through EGL, with no X connection:
  // on EGL device egl_device, or for -1 on the first GPU EGL finds, else
  // on Mesa's software renderer.
  int32_t offscreen = 0;
  int32_t egl_device = -1;
  int32_t exit_requested = 0;
  int32_t usage_error = 0;  // exit_requested because the command line was wrong
  // Our addition for unattended runs: no panel, messages on stderr,
  // progress on stdout, no editor.
  int32_t batch = 0;
};
