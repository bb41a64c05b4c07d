// tarvelin-compare: compares result files of `tarvelin -json FILE`.
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/comparison_chart.h"
#include "compare/comparison_table.h"
#include "compare/run_file.h"

namespace {

constexpr int EXIT_BAD_INPUT = 1;
constexpr int EXIT_USAGE = 2;

constexpr const char* USAGE =
    "usage: tarvelin-compare [-chart FILE] A.json B.json [C.json ...]\n"
    "Compares result files written by `tarvelin -json FILE`: one row per test,\n"
    "one column per run, each score with its ratio to the first run's.\n"
    "  -chart FILE  also draw the scores as a bar chart; FILE ends in .png, .svg or .pdf\n"
    "  -help        show this text\n";

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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths;
  std::string chart_path;
  std::optional<ChartFormat> chart_format;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "-help") {
      std::fputs(USAGE, stdout);
      return 0;
    } else if (word == "-chart") {
      if (i + 1 == argc) return usage_error("-chart needs a file name");
      if (chart_format) return usage_error("-chart given twice");
      chart_path = argv[++i];
      chart_format = chart_format_for(chart_path);
      if (!chart_format) {
        return usage_error("cannot draw " + chart_path +
                           ": the chart's name ends in .png, .svg or .pdf");
      }
    } else if (word.size() > 1 && word[0] == '-') {
      return usage_error("unknown option " + word);
    } else {
      paths.push_back(word);
    }
  }
  if (paths.size() < 2) return usage_error("needs at least two result files");

  try {
    std::vector<RunFile> runs;
    for (const std::string& path : paths) runs.push_back(read_run_file(path));
    print_table(comparison_table(runs));
    if (chart_format) write_comparison_chart(chart_path, *chart_format, runs);
  } catch (const std::runtime_error& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tarvelin-compare: %s\n", error.what());
    return EXIT_BAD_INPUT;
  }
  return 0;
}
