#include "compare/lockstep.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "core/pass_statistics.h"
#include "core/printable.h"

volatile std::sig_atomic_t session_interrupted = 0;

namespace {

// A side that sends nothing for this long while it is its turn has hung:
// at least two minutes (the first turn opens a window and builds the mesh),
// else ten times the longest turn yet.
constexpr double LEAST_STALL_SECONDS = 120.0;
constexpr double STALL_TURNS = 10.0;
// Writing the report and result files, after "end".
constexpr double FINISH_SECONDS = 120.0;

double now_seconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

TestResult measured_test(const std::string& keyword, const std::vector<double>& seconds) {
  TestResult test;
  test.keyword = keyword;
  test.pass_seconds = seconds;
  // A score to give the row a ratio; the decision weighs the rounds.
  test.score = 100.0 / trimmed_mean_of(seconds.data(), seconds.size());
  return test;
}

GroupValues measured_total(const std::vector<double>& values, int rounds) {
  GroupValues group;
  if (static_cast<int>(values.size()) != rounds || rounds == 0) return group;
  group.pass_values = values;
  group.total = mean_of(values);
  return group;
}

}  // namespace

std::vector<RunFile> rounds_so_far(
    const std::array<std::map<std::string, std::vector<double>>, 2>& seconds,
    const std::array<std::array<std::vector<double>, 2>, 2>& totals, int rounds) {
  std::vector<RunFile> runs(2);
  for (const auto& [keyword, a] : seconds[0]) {
    const auto b = seconds[1].find(keyword);
    const auto whole = [rounds](const std::vector<double>& v) {
      return static_cast<int>(v.size()) == rounds &&
             std::all_of(v.begin(), v.end(), [](double s) { return s > 0.0; });
    };
    if (b == seconds[1].end() || !whole(a) || !whole(b->second)) continue;
    runs[0].tests.push_back(measured_test(keyword, a));
    runs[1].tests.push_back(measured_test(keyword, b->second));
  }
  for (int s = 0; s < 2; ++s) {
    for (size_t t = 0; t < runs[s].tests.size(); ++t) runs[s].places[runs[s].tests[t].keyword] = t;
    runs[s].total_3d = measured_total(totals[s][0], rounds);
    runs[s].total_2d = measured_total(totals[s][1], rounds);
  }
  return runs;
}

std::vector<RunFile> Lockstep::measured() const {
  return rounds_so_far(seconds_, totals_, rounds_);
}

void Lockstep::start() {
  pump_until_waiting(-1);
  for (int s = 0; s < 2; ++s) {
    if (!(*waiting_[s] == Waiting{1, -1})) fail(s, "did not begin with its first pass");
  }
}

void Lockstep::run_round(int first) {
  const double started = now_seconds();
  const Waiting next_round{rounds_ + 2, -1};
  while (!(*waiting_[0] == next_round && *waiting_[1] == next_round)) {
    // The side further behind goes; at the same place, the round's first.
    const int other = 1 - first;
    const int s = *waiting_[other] < *waiting_[first] ? other : first;
    release(s);
  }
  ++rounds_;
  last_round_seconds_ = now_seconds() - started;
}

void Lockstep::finish() {
  for (SideProcess* side : sides_) side->send("end");
  for (int s = 0; s < 2; ++s) {
    const std::optional<std::string> status = sides_[s]->wait_for_end(FINISH_SECONDS);
    if (!status)
      fail(s, "did not end within " + std::to_string(int(FINISH_SECONDS)) + " s of its last pass");
    if (!sides_[s]->ended_well()) fail(s, "ended its run with " + *status);
  }
}

void Lockstep::release(int s) {
  waiting_[s].reset();
  sides_[s]->send("go");
  const double started = now_seconds();
  pump_until_waiting(s);
  longest_turn_ = std::max(longest_turn_, now_seconds() - started);
}

void Lockstep::pump_until_waiting(int s) {
  const auto done = [&] { return s < 0 ? waiting_[0] && waiting_[1] : waiting_[s].has_value(); };
  const double limit = std::max(LEAST_STALL_SECONDS, STALL_TURNS * longest_turn_);
  double last_heard = now_seconds();
  while (!done()) {
    pollfd fds[2] = {{sides_[0]->fd(), POLLIN, 0}, {sides_[1]->fd(), POLLIN, 0}};
    const int ready = poll(fds, 2, 1000);
    if (session_interrupted != 0) {
      throw SideFailure(std::string("interrupted by ") + strsignal(session_interrupted) +
                        "; both sides stopped");
    }
    if (ready < 0 && errno != EINTR) fail(s < 0 ? 0 : s, "cannot be listened to");
    for (int i = 0; i < 2 && ready > 0; ++i) {
      if (fds[i].revents == 0) continue;
      if (!sides_[i]->read_available()) {
        const std::optional<std::string> status = sides_[i]->wait_for_end(2.0);
        fail(i, "ended (" + status.value_or("still running, its socket closed") + ")");
      }
      while (const std::optional<std::string> line = sides_[i]->take_line()) take(i, *line);
      last_heard = now_seconds();
    }
    if (now_seconds() - last_heard > limit) {
      fail(s < 0 ? (waiting_[0] ? 1 : 0) : s,
           "stopped answering: nothing for " + std::to_string(int(limit)) + " s");
    }
  }
}

void Lockstep::take(int s, const std::string& line) {
  if (waiting_[s]) fail(s, "spoke while it waited: \"" + printable(line, LONGEST_NAME) + "\"");
  std::istringstream words(line);
  std::string kind;
  words >> kind;
  if (kind == "pass") {
    Waiting at{0, -1};
    words >> at.pass;
    waiting_[s] = at;
  } else if (kind == "ready") {
    Waiting at{rounds_ + 1, -1};
    words >> at.place >> last_test_[s];
    if (at.place < 0) fail(s, "sent a test of no place: \"" + printable(line, LONGEST_NAME) + "\"");
    waiting_[s] = at;
  } else if (kind == "timed") {
    std::string keyword;
    double seconds = 0;
    words >> keyword >> seconds;
    seconds_[s][keyword].push_back(seconds);
  } else if (kind == "totals") {
    for (std::vector<double>& group : totals_[s]) {
      std::string value;
      words >> value;
      if (value != "-") group.push_back(std::strtod(value.c_str(), nullptr));
    }
  } else {
    fail(s, "sent what is no turn: \"" + printable(line, LONGEST_NAME) + "\"");
  }
  if (words.fail())
    fail(s, "sent a line it could not mean: \"" + printable(line, LONGEST_NAME) + "\"");
}

void Lockstep::fail(int s, const std::string& what) {
  const std::string where = last_test_[s].empty()
                                ? " before its first test"
                                : " at " + printable(last_test_[s], LONGEST_NAME) + " of round " +
                                      std::to_string(rounds_ + 1);
  std::string message = sides_[s]->name() + " " + what + where;
  const std::string tail = sides_[s]->log_tail();
  if (!tail.empty()) message += "; the last lines it wrote:\n" + tail;
  throw SideFailure(message);
}
