// Announcing the running test and recording what it measured.
#pragma once

#include "core/catalogue.h"

constexpr int TITLE_SIZE = 256;

// Advances progress_count and shows the test's name (with the count unless
// show_count is off) as the running window's title; in batch mode the
// title is also printed on stdout.
void set_progress_title(const char* name);

// The title text for the current progress_count and progress_total.
void format_progress_title(const char* name, char* out, int out_size);

// Stores a test's seconds at the current pass slot (never adding to an
// older value). Call it after the stopwatch has been read: in batch mode it
// prints the seconds.
void record_test_time(TestId id, double seconds);

// Marks a test skipped by its automatic check for the rest of the pass.
void record_check_skip(TestId id);
