// The turns of an -ab session: two sides (compare/side_process.h) that time
// one test at a time, side A's measurement of a test and side B's seconds
// apart, the first side of each test swapping every round (A B, then B A),
// and never both working at once. The protocol is app/turn_channel.h's.
#pragma once

#include <array>
#include <csignal>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compare/run_file.h"
#include "compare/side_process.h"

// What the rounds so far measured, as two result files would tell it:
// each test both sides timed in every round, with its rounds' seconds, and
// each side's whole totals of every round. Enough to decide on while the
// session goes on (compare/paired_changes.h).
std::vector<RunFile> rounds_so_far(
    const std::array<std::map<std::string, std::vector<double>>, 2>& seconds,
    const std::array<std::array<std::vector<double>, 2>, 2>& totals, int rounds);

// The signal (SIGINT, SIGTERM, SIGHUP) that asked the session to end, or 0;
// set by the handler run_ab_session installs, read between polls.
extern volatile std::sig_atomic_t session_interrupted;

class Lockstep {
 public:
  // Neither side has been handed anything yet; both are starting.
  explicit Lockstep(std::array<SideProcess*, 2> sides) : sides_(sides) {}

  // Waits for both sides to ask for their first pass.
  void start();
  // One round: both sides make one pass, test by test in turns, `first`
  // (0: A) timing each test before the other.
  void run_round(int first);
  // Tells both sides to end and waits for them to write their files and
  // exit with status 0.
  void finish();

  int rounds() const { return rounds_; }
  // The measurements so far, as rounds_so_far gives them.
  std::vector<RunFile> measured() const;
  // The seconds the last round took, its turns and all between them.
  double last_round_seconds() const { return last_round_seconds_; }

 private:
  // Where a side waits: at the start of a pass (place -1) or before the
  // test at `place` of the run order, in its pass `pass`.
  struct Waiting {
    int pass = 0;
    int place = -1;
    bool operator<(const Waiting& other) const {
      return pass != other.pass ? pass < other.pass : place < other.place;
    }
    bool operator==(const Waiting& other) const = default;
  };

  // Hands side `s` its turn and returns once it waits again.
  void release(int s);
  // Reads whatever the sides send until side `s` (or, for -1, both) waits,
  // failing a side that ends, breaks the protocol or stops answering.
  void pump_until_waiting(int s);
  void take(int s, const std::string& line);
  [[noreturn]] void fail(int s, const std::string& what);

  std::array<SideProcess*, 2> sides_;
  std::array<std::optional<Waiting>, 2> waiting_;
  std::array<std::string, 2> last_test_;
  std::array<std::map<std::string, std::vector<double>>, 2> seconds_;
  std::array<std::array<std::vector<double>, 2>, 2> totals_;  // side, then 3D and 2D
  double longest_turn_ = 0.0;
  double last_round_seconds_ = 0.0;
  int rounds_ = 0;
};
