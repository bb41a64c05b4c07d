// tarvelin-compare -ab: two GLs (or builds, or devices) measured in
// lockstep, test by test, and decided on the ratios of their rounds.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compare/comparison_chart.h"
#include "compare/run_changes.h"
#include "compare/side_process.h"

// The most rounds a session makes: as many passes as a result file keeps.
constexpr int MOST_ROUNDS = 50;
// Fewer rounds decide nothing (MIN_DECIDING_PASSES).
constexpr int LEAST_ROUNDS = 3;
// How long a session without -rounds goes on at most, unless it is
// decided first: ten minutes, as a run with a precision target.
constexpr double DEFAULT_SESSION_BUDGET = 600.0;
constexpr double DEFAULT_AB_THRESHOLD = 5.0;

struct AbArguments {
  std::string side_words[2];
  SideCommand sides[2];
  std::optional<int> rounds;  // none: until decided or the budget is spent
  double budget_seconds = DEFAULT_SESSION_BUDGET;
  bool budget_given = false;
  double threshold_percent = DEFAULT_AB_THRESHOLD;
  std::string junit_path;
  std::string out_dir;  // empty: the sides' files go to a folder removed at the end
  std::string chart_path;
  std::optional<ChartFormat> chart_format;
  std::vector<std::string> tarvelin_options;  // after --, for both sides
};

// Reads the words after -ab. Throws std::invalid_argument with the usage
// error's text (a side that is no env(1)-like word, a number out of range,
// an option the session sets itself among the tarvelin options, ...).
AbArguments read_ab_arguments(const std::vector<std::string>& words);

// Why a session ends after `rounds` rounds, `elapsed` seconds in, the last
// round having taken `last_round` seconds, with `decided` the decisions
// of the rounds so far; empty while it goes on. With -rounds: when that
// many are done. Without: never before LEAST_ROUNDS; then once every row
// is decided ("decided"), at MOST_ROUNDS, or when another round like the
// last would end past the budget ("budget spent").
std::string session_stop(const AbArguments& args, int rounds, const Changes& decided,
                         double elapsed, double last_round);

// Runs the session and writes what it found: the table on stdout, each
// slower row on stderr, the JUnit report and the chart where asked for.
// The exit status: 1 when anything was decided slower, 0 otherwise, 2 when
// a side failed (it and the other are stopped) or a file could not be
// written.
int run_ab_session(const AbArguments& args);
