// tarvelin-compare: compares result files of `tarvelin -json FILE`.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/comparison_table.h"
#include "compare/run_file.h"

namespace {

constexpr int EXIT_BAD_INPUT = 1;
constexpr int EXIT_USAGE = 2;

constexpr const char* USAGE =
    "usage: tarvelin-compare A.json B.json [C.json ...]\n"
    "Compares result files written by `tarvelin -json FILE`: one row per test,\n"
    "one column per run, each score with its ratio to the first run's.\n"
    "  -help        show this text\n";

int usage_error(const std::string& problem) {
  std::fprintf(stderr, "tarvelin-compare: %s\n%s", problem.c_str(), USAGE);
  return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "-help") {
      std::fputs(USAGE, stdout);
      return 0;
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
    std::fputs(comparison_table(runs).c_str(), stdout);
  } catch (const std::runtime_error& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tarvelin-compare: %s\n", error.what());
    return EXIT_BAD_INPUT;
  }
  return 0;
}
