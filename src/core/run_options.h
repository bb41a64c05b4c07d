// The user's settings and the run's state, shared process-wide.
#pragma once

#include <cstdint>

constexpr int FILE_NAME_SIZE = 256;  // 255 characters and the terminator
constexpr const char* VERSION_TEXT = "version 1.5.1";
constexpr const char* DEFAULT_RESULT_FILE = "result.tvl";
constexpr const char* DEFAULT_PASS_FILE = "pass.def";

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
  int32_t exit_requested = 0;
  int32_t usage_error = 0;  // exit_requested because the command line was wrong
  // Our addition for unattended runs: no panel, messages on stderr,
  // progress on stdout, no editor.
  int32_t batch = 0;
};

enum RunMode : int32_t {
  RUN_MODE_3D = 0,     // double-buffered 3D test window
  RUN_MODE_2D = 1,     // single-buffered 2D test window
  RUN_MODE_PANEL = 2,  // start panel
};

// Screen rectangle; right and bottom are exclusive edges as on the desktop.
struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct RunState {
  RunMode run_mode = RUN_MODE_3D;
  int32_t pass_index = 0;  // slot of test_times for the current pass, 0..49
  int32_t start_pressed = 0;
  int32_t pass_file_missing = 0;  // nonzero when pass_file was not readable
  ScreenRect window_rect;         // where every test window opens
};

constexpr int REPEAT_COUNT_ENTRIES = 11;
constexpr int32_t DEFAULT_REPEAT_COUNTS[REPEAT_COUNT_ENTRIES] = {1000, 1000, 128, 2000, 100, 500,
                                                                 500,  64,   500, 300,  300};

extern RunOptions run_options;
extern RunState run_state;
// Iteration counts of the timed tests; scaled once at START.
extern int32_t repeat_counts[REPEAT_COUNT_ENTRIES];
