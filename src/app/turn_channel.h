// The side of a run that takes turns with tarvelin-compare -ab (-turns FD):
// the two programs it runs time one test at a time, so that a test's two
// measurements are seconds apart and neither side works while the other
// times. Lines of text over the inherited socket, this side's first:
//
//   pass R             about to begin pass R (from 1); waits for "go" or "end"
//   ready P KEYWORD    about to time the test at place P of the run order
//                      (3D tests first, from 0); waits for "go"
//   timed KEYWORD S    the test's timed section took S seconds
//   totals V3D V2D     after each pass: its group values ("-" for none)
//
// and the answers "go" and "end". After "end" the run writes its report and
// result files, its passes being those it made, and exits. The other side
// decides everything else; this one only waits and tells.
#pragma once

#include <string>

#include "core/catalogue.h"
#include "core/run_options.h"
#include "core/run_results.h"

class TurnChannel {
 public:
  explicit TurnChannel(int fd) : fd_(fd) {}

  // Whether pass `pass` is to be run; false once the other side says "end".
  bool another_pass(int pass);
  // Returns when the test may be timed.
  void wait_turn(const TestInfo& test);
  void timed(const TestInfo& test, double seconds);
  // The group values of the pass just made, each pass alone scoring it.
  void pass_done(const RunOptions& options, const RunResults& results, int passes);
  // Ends the run at once, saying why: what it was handed cannot be done.
  [[noreturn]] void refuse(const char* why);

 private:
  void send(const std::string& line);
  // The next answer, "go" or "end".
  std::string answer();

  int fd_;
  std::string pending_;  // read past the last answer
};

// The test's place in the order a pass runs the tests: the 3D tests first.
int run_order_place(TestId id);
