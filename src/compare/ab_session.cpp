#include "compare/ab_session.h"

#include <signal.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "compare/comparison_table.h"
#include "compare/junit_report.h"
#include "compare/lockstep.h"
#include "compare/paired_changes.h"
#include "compare/run_file.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* SIDE_NAMES[2] = {"A", "B"};

// Options of tarvelin's that the session sets for both sides, or that
// would make a run that takes no turns.
struct SessionOption {
  const char* word;
  const char* why;
};
constexpr SessionOption SESSION_OPTIONS[] = {
    {"-loop", "the session decides the passes (see -rounds)"},
    {"-precision", "the session decides the passes (see -budget)"},
    {"-budget", "give -budget before --, for the whole session"},
    {"-validate", "a validation times nothing"},
    {"-statusonly", "a status-only run times nothing"},
    {"-test", "a test loop scores nothing"},
    {"-turns", "the session hands each side its socket"},
    {"-f", "each side's report goes into -o DIR"},
    {"-json", "each side's result file goes into -o DIR"},
    {"-csv", "each side's results go into -o DIR as JSON"},
};

double number_of(const std::string& option, const std::string& word, double lowest,
                 double highest) {
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || !(value >= lowest) || !(value <= highest)) {
    char range[96];
    std::snprintf(range, sizeof range, "expected a number from %g to %g", lowest, highest);
    throw std::invalid_argument(option + " \"" + word + "\": " + range);
  }
  return value;
}

// Fewer rounds decide nothing; more than a result file keeps would be lost.
int round_count(const std::string& word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || value < LEAST_ROUNDS || value > MOST_ROUNDS) {
    throw std::invalid_argument("-rounds \"" + word + "\": expected a whole number from " +
                                std::to_string(LEAST_ROUNDS) + " (fewer decide nothing) to " +
                                std::to_string(MOST_ROUNDS) +
                                " (as many passes as a result file keeps)");
  }
  return value;
}

// Reads the value of the option at words[i], moving i onto it.
const std::string& value_of(const std::vector<std::string>& words, size_t& i) {
  if (i + 1 == words.size()) throw std::invalid_argument(words[i] + " needs a value");
  return words[++i];
}

void check_tarvelin_options(const std::vector<std::string>& options) {
  for (const std::string& word : options) {
    for (const SessionOption& option : SESSION_OPTIONS) {
      if (word == option.word) {
        throw std::invalid_argument("-ab: " + word + " cannot go to the sides: " + option.why);
      }
    }
  }
}

std::string default_program() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? "tarvelin" : (self.parent_path() / "tarvelin").string();
}

std::vector<std::string> side_arguments(const AbArguments& args, const fs::path& folder,
                                        const char* name) {
  std::vector<std::string> words = args.tarvelin_options;
  const std::string base = (folder / name).string();
  for (const char* word : {"-batch", "-turns", "3", "-f"}) words.push_back(word);
  words.push_back(base + ".tvl");
  words.push_back("-json");
  words.push_back(base + ".json");
  return words;
}

// Where the sides' files go: -o DIR, made if need be, else a folder of
// the session's own that is removed when it ends.
class SessionFolder {
 public:
  explicit SessionFolder(const std::string& out_dir) {
    if (!out_dir.empty()) {
      path_ = out_dir;
      std::error_code error;
      fs::create_directories(path_, error);
      if (error || !fs::is_directory(path_)) {
        throw std::runtime_error("-o " + out_dir + ": cannot make the folder: " + error.message());
      }
      return;
    }
    std::string name = (fs::temp_directory_path() / "tarvelin-ab-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
      throw std::runtime_error("cannot make a folder for the sides' files in " +
                               fs::temp_directory_path().string());
    }
    path_ = name;
    owned_ = true;
  }
  ~SessionFolder() {
    std::error_code ignored;
    if (owned_) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
  bool owned_ = false;
};

// "round 4 (B A): 40 same, 2 faster, 6 cannot tell; 98 s".
void print_round(int round, int first, const Changes& changes, double elapsed) {
  int counts[4] = {};
  const auto count = [&](const std::optional<Decision>& d) {
    if (d) ++counts[static_cast<int>(d->change)];
  };
  for (const std::optional<Decision>& d : changes.runs[1].tests) count(d);
  count(changes.runs[1].total_3d);
  count(changes.runs[1].total_2d);
  std::fprintf(stderr,
               "tarvelin-compare: round %d (%s %s): %d same, %d slower, %d faster, "
               "%d cannot tell; %.0f s\n",
               round, SIDE_NAMES[first], SIDE_NAMES[1 - first], counts[0], counts[1], counts[2],
               counts[3], elapsed);
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The rounds until session_stop says why they end.
std::string run_rounds(const AbArguments& args, Lockstep& lockstep) {
  const auto start = std::chrono::steady_clock::now();
  lockstep.start();
  for (;;) {
    const Changes so_far = decide_paired_changes(lockstep.measured(), args.threshold_percent);
    const double elapsed = seconds_since(start);
    if (lockstep.rounds() > 0)
      print_round(lockstep.rounds(), (lockstep.rounds() - 1) % 2, so_far, elapsed);
    std::string why =
        session_stop(args, lockstep.rounds(), so_far, elapsed, lockstep.last_round_seconds());
    if (!why.empty())
      return std::to_string(lockstep.rounds()) + " rounds in " +
             std::to_string(static_cast<int>(elapsed)) + " s; " + why;
    lockstep.run_round(lockstep.rounds() % 2);
  }
}

// The table, the slower rows, the JUnit report and the chart of the two
// sides' result files; the exit status.
int report_session(const AbArguments& args, const fs::path& folder, const std::string& ending) {
  std::vector<RunFile> sides;
  for (int s = 0; s < 2; ++s) {
    sides.push_back(read_run_file((folder / (std::string(SIDE_NAMES[s]) + ".json")).string()));
    // Named as given; an empty side is the default program as it is.
    const std::string& word = args.side_words[s];
    sides.back().path =
        std::string("side ") + SIDE_NAMES[s] + (word.empty() ? "" : " (" + word + ")");
  }
  const Changes changes = decide_paired_changes(sides, args.threshold_percent);
  std::string table = comparison_table(sides, &changes);
  table += "session: " + ending + "\n";
  std::fwrite(table.data(), 1, table.size(), stdout);
  std::fflush(stdout);
  if (!args.junit_path.empty()) {
    write_junit_report(args.junit_path, junit_report("tarvelin-compare -ab", sides, changes));
  }
  if (args.chart_format) {
    write_comparison_chart(args.chart_path, *args.chart_format, sides, &changes);
  }
  const std::vector<std::string> slower = slowdown_lines(sides, changes);
  for (const std::string& line : slower) std::fprintf(stderr, "%s\n", line.c_str());
  return any_change(changes, Change::slower) ? 1 : 0;
}

}  // namespace

AbArguments read_ab_arguments(const std::vector<std::string>& words) {
  AbArguments args;
  if (words.size() < 2) throw std::invalid_argument("-ab needs two sides, 'SIDE A' 'SIDE B'");
  for (int s = 0; s < 2; ++s) {
    args.side_words[s] = words[s];
    try {
      args.sides[s] = parse_side(words[s]);
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument(std::string("-ab side ") + SIDE_NAMES[s] + ": " + error.what());
    }
  }
  size_t i = 2;
  for (; i < words.size() && words[i] != "--"; ++i) {
    const std::string& word = words[i];
    if (word == "-rounds") {
      args.rounds = round_count(value_of(words, i));
    } else if (word == "-budget") {
      args.budget_seconds = number_of(word, value_of(words, i), 1, 366.0 * 24 * 3600);
      args.budget_given = true;
    } else if (word == "-threshold") {
      args.threshold_percent = number_of(word, value_of(words, i), 0.001, 1000);
    } else if (word == "-junit") {
      args.junit_path = value_of(words, i);
    } else if (word == "-o") {
      args.out_dir = value_of(words, i);
    } else if (word == "-chart") {
      args.chart_path = value_of(words, i);
      args.chart_format = chart_format_for(args.chart_path);
      if (!args.chart_format) {
        throw std::invalid_argument("cannot draw " + args.chart_path +
                                    ": the chart's name ends in .png, .svg or .pdf");
      }
    } else {
      throw std::invalid_argument("-ab: unknown option " + word +
                                  " (tarvelin's options go after --)");
    }
  }
  if (args.rounds && args.budget_given) {
    throw std::invalid_argument("-ab: -rounds and -budget both say when to stop; give one");
  }
  if (i < words.size()) args.tarvelin_options.assign(words.begin() + i + 1, words.end());
  check_tarvelin_options(args.tarvelin_options);
  return args;
}

std::string session_stop(const AbArguments& args, int rounds, const Changes& decided,
                         double elapsed, double last_round) {
  if (args.rounds) return rounds >= *args.rounds ? std::to_string(rounds) + " rounds done" : "";
  if (rounds < LEAST_ROUNDS) return "";
  const bool any_decided = any_change(decided, Change::same) ||
                           any_change(decided, Change::slower) ||
                           any_change(decided, Change::faster);
  if (any_decided && !any_change(decided, Change::cannot_tell))
    return "every test and total decided";
  if (rounds >= MOST_ROUNDS)
    return std::to_string(MOST_ROUNDS) + " rounds, as many as a result file keeps";
  if (elapsed + last_round > args.budget_seconds)
    return "budget of " + std::to_string(int(args.budget_seconds)) + " s spent";
  return "";
}

int run_ab_session(const AbArguments& args) {
  // A user's ^C or a CI job's timeout ends the session as a failing side
  // does: both sides stopped, the session's own folder removed.
  struct sigaction action {};
  action.sa_handler = [](int signal) { session_interrupted = signal; };
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  try {
    SessionFolder folder(args.out_dir);
    std::string why;
    {
      const std::string program = default_program();
      SideProcess a("side A", args.sides[0], program, side_arguments(args, folder.path(), "A"),
                    (folder.path() / "A.log").string());
      SideProcess b("side B", args.sides[1], program, side_arguments(args, folder.path(), "B"),
                    (folder.path() / "B.log").string());
      Lockstep lockstep({&a, &b});
      why = run_rounds(args, lockstep);
      lockstep.finish();
    }
    return report_session(args, folder.path(), why);
  } catch (const std::runtime_error& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tarvelin-compare: -ab: %s\n", error.what());
    return 2;
  }
}
