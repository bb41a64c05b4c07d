// How the options that take a number or a list read their value (the
// ApplyOption of their row in app/option_table.cpp): each sets what it
// names in the settings, or refuses the value with refuse_command_line,
// its "Error" text saying what is expected.
#pragma once

#include "app/options.h"
#include "core/run_options.h"

// -loop: a count as atoi reads it, within 32 bits; any negative count
// runs endlessly (loops = -1) without the count shown.
void apply_loop_count(const char* argument, RunOptions& options, OptionMessage& message);

// -precision: a percentage above 0 and up to 100, of the whole word.
void apply_precision(const char* argument, RunOptions& options, OptionMessage& message);

// -budget: seconds above 0, up to a year.
void apply_budget(const char* argument, RunOptions& options, OptionMessage& message);

// -device: one of -devices' numbers, in digits alone; it also draws
// off-screen.
// -turns FD: an open file descriptor, in digits alone.
void apply_turns(const char* argument, RunOptions& options, OptionMessage& message);
void apply_device(const char* argument, RunOptions& options, OptionMessage& message);

// -only: keywords that all name tests, added to those of earlier -only.
void apply_only_tests(const char* argument, RunOptions& options, OptionMessage& message);
