// tarvelin-compare: compares result files of `tarvelin -json FILE`.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/ab_session.h"
#include "compare/claim_text.h"
#include "compare/comparison_chart.h"
#include "compare/comparison_table.h"
#include "compare/run_changes.h"
#include "compare/run_file.h"
#include "core/printable.h"
#include "core/run_history.h"

namespace {

constexpr int EXIT_BAD_INPUT = 1;
constexpr int EXIT_USAGE = 2;
// With -threshold, 1 says that a run was decided slower and nothing else,
// so that a script can act on it; a failure is then 2, as a usage error is.
constexpr int EXIT_SLOWER = 1;
constexpr int EXIT_FAILED_DECIDING = 2;

constexpr const char* USAGE =
    "usage: tarvelin-compare [-threshold T] [-chart FILE] A.json B.json [C.json ...]\n"
    "       tarvelin-compare [-threshold T] [-chart FILE] -last N\n"
    "       tarvelin-compare -ab 'SIDE A' 'SIDE B' [-rounds N] [-budget S] [-threshold T]\n"
    "                        [-junit FILE] [-o DIR] [-chart FILE] -- [tarvelin options]\n"
    "Compares result files written by `tarvelin -json FILE`: one row per test,\n"
    "one column per run, each score with its ratio to the first run's.\n"
    "  -last N       compare the N latest runs kept in the history (oldest first):\n"
    "                $XDG_DATA_HOME/tarvelin/runs, else ~/.local/share/tarvelin/runs;\n"
    "                without -threshold decided as with -threshold 5, exit status 0\n"
    "  -threshold T  decide for each test and total whether each later run was slower,\n"
    "                faster or the same: a ratio shown beyond T percent that Yuen's test\n"
    "                of the trimmed means, corrected for the number of rows, finds\n"
    "                unlikely to be chance; the same when its whole 95% interval lies\n"
    "                within T percent; exit status 1 when any was slower (each listed\n"
    "                on stderr), 2 for any error\n"
    "  -chart FILE   also draw the scores as a bar chart; FILE ends in .png, .svg or .pdf\n"
    "  -help         show this text\n"
    "With -ab, two sides run at once and take turns test by test, and B is decided\n"
    "against A on the ratios of their rounds; a side is NAME=VALUE words, then\n"
    "optionally its program (default: the tarvelin beside this one):\n"
    "  -rounds N     make N rounds (3 to 50); without, go on until every test is decided\n"
    "  -budget S     ... or another round would end past S seconds (default 600)\n"
    "  -threshold T  the change that counts (default 5)\n"
    "  -junit FILE   also write a JUnit XML report of the decisions\n"
    "  -o DIR        keep each side's result file, report and log in DIR\n"
    "  -chart FILE   as above, the outcomes marked\n";
static_assert(DEFAULT_THRESHOLD_PERCENT == 5, "-last's line of USAGE names the default threshold");

// The note under -last's table where no -threshold was given.
std::string default_threshold_note() {
  char note[160];
  std::snprintf(note, sizeof note,
                "decided with the default threshold of %g%%; -threshold T sets another and "
                "makes a slowdown exit with status 1\n",
                DEFAULT_THRESHOLD_PERCENT);
  return note;
}

int usage_error(const std::string& problem) {
  std::fprintf(stderr, "tarvelin-compare: %s\n%s", problem.c_str(), USAGE);
  return EXIT_USAGE;
}

// A table lost on a full disk or a closed output is an error, not a success.
void print_table(const std::string& table) {
  if (std::fwrite(table.data(), 1, table.size(), stdout) != table.size() ||
      std::fflush(stdout) != 0) {
    throw std::runtime_error(std::string("cannot write the table to standard output: ") +
                             std::strerror(errno));
  }
}

// The percentage of -threshold: a finite number above 0, and nothing after.
std::optional<double> threshold_percent(const std::string& word) {
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value) || !(value > 0)) {
    return std::nullopt;
  }
  return value;
}

// The count of -last: a whole number from 2 on, and nothing after it.
std::optional<size_t> run_count(const std::string& word) {
  size_t value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || value < 2) return std::nullopt;
  return value;
}

// The paths of the `count` latest runs of the history, oldest first.
std::vector<std::string> latest_runs(size_t count) {
  const std::string folder = history_folder();
  if (folder.empty()) {
    throw std::runtime_error("-last: no history, as neither XDG_DATA_HOME nor HOME names a folder");
  }
  std::vector<std::string> runs = history_runs(folder);
  if (runs.size() < count) {
    throw std::runtime_error("-last " + std::to_string(count) + ": the history in " +
                             printable(folder) + " holds " + std::to_string(runs.size()) +
                             (runs.size() == 1 ? " run" : " runs"));
  }
  runs.erase(runs.begin(), runs.end() - static_cast<std::ptrdiff_t>(count));
  return runs;
}

// What the command line asks for.
struct Arguments {
  std::vector<std::string> paths;
  std::string chart_path;
  std::optional<ChartFormat> chart_format;
  std::optional<double> threshold;
  std::optional<size_t> last;
};

// Nothing when the words make a comparison; otherwise the exit status to
// end with, once -help is shown or a usage error told.
std::optional<int> read_arguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "-help") {
      std::fputs(USAGE, stdout);
      return 0;
    } else if (word == "-chart") {
      if (i + 1 == argc) return usage_error("-chart needs a file name");
      if (args.chart_format) return usage_error("-chart given twice");
      args.chart_path = argv[++i];
      args.chart_format = chart_format_for(args.chart_path);
      if (!args.chart_format) {
        return usage_error("cannot draw " + args.chart_path +
                           ": the chart's name ends in .png, .svg or .pdf");
      }
    } else if (word == "-threshold") {
      if (i + 1 == argc) return usage_error("-threshold needs a percentage");
      if (args.threshold) return usage_error("-threshold given twice");
      args.threshold = threshold_percent(argv[++i]);
      if (!args.threshold) {
        return usage_error("-threshold \"" + printable(argv[i], LONGEST_NAME) +
                           "\": expected a percentage above 0, such as 5 or 2.5");
      }
    } else if (word == "-last") {
      if (i + 1 == argc) return usage_error("-last needs a number of runs");
      if (args.last) return usage_error("-last given twice");
      args.last = run_count(argv[++i]);
      if (!args.last) {
        return usage_error("-last \"" + printable(argv[i], LONGEST_NAME) +
                           "\": expected a number of runs from 2 on");
      }
    } else if (word.size() > 1 && word[0] == '-') {
      return usage_error("unknown option " + word);
    } else {
      args.paths.push_back(word);
    }
  }
  if (args.last && !args.paths.empty()) {
    return usage_error("-last compares kept runs, not result files");
  }
  if (!args.last && args.paths.size() < 2) return usage_error("needs at least two result files");
  return std::nullopt;
}

// The table, the chart if asked for and, with -threshold, the runs decided
// slower on stderr; the exit status.
int compare(Arguments& args) {
  std::vector<std::string> slowdowns;
  try {
    if (args.last) args.paths = latest_runs(*args.last);
    std::vector<RunFile> runs;
    for (const std::string& path : args.paths) runs.push_back(read_run_file(path));
    // -last always says what its ratios can claim; only an explicit
    // -threshold makes a slowdown the exit status.
    std::optional<Changes> changes;
    if (args.threshold || args.last) {
      changes = decide_changes(runs, args.threshold.value_or(DEFAULT_THRESHOLD_PERCENT));
    }
    const Changes* decided = changes ? &*changes : nullptr;
    print_table(comparison_table(runs, decided) +
                (args.threshold || !args.last ? "" : default_threshold_note()));
    if (args.chart_format) {
      write_comparison_chart(args.chart_path, *args.chart_format, runs, decided);
    }
    if (args.threshold) slowdowns = slowdown_lines(runs, *changes);
  } catch (const std::runtime_error& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tarvelin-compare: %s\n", error.what());
    return args.threshold ? EXIT_FAILED_DECIDING : EXIT_BAD_INPUT;
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    std::fprintf(stderr, "tarvelin-compare: not enough memory for the files given\n");
    return args.threshold ? EXIT_FAILED_DECIDING : EXIT_BAD_INPUT;
  }
  for (const std::string& line : slowdowns) std::fprintf(stderr, "%s\n", line.c_str());
  return slowdowns.empty() ? 0 : EXIT_SLOWER;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "-ab") == 0) {
    try {
      return run_ab_session(read_ab_arguments(std::vector<std::string>(argv + 2, argv + argc)));
    } catch (const std::invalid_argument& error) {
      return usage_error(error.what());
    }
  }
  Arguments args;
  if (const std::optional<int> status = read_arguments(argc, argv, args)) return *status;
  return compare(args);
}
