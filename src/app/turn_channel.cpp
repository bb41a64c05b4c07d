#include "app/turn_channel.h"

#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/exit_status.h"
#include "report/scoring.h"

namespace {

// The other side is gone or speaks no protocol: the run cannot go on, and
// nothing it made would be read. It ends here, from inside a test window's
// draw if need be, without unwinding through the window system.
[[noreturn]] void lost(const char* what) {
  std::fprintf(stderr, "tarvelin: -turns: %s; the run stops\n", what);
  std::fflush(stderr);
  std::_Exit(BATCH_FAILED);
}

std::string value_text(const GroupTotal& group) {
  if (!group.complete || group.pass_values.empty()) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", group.pass_values.back());
  return text;
}

}  // namespace

int run_order_place(TestId id) {
  return id >= FIRST_3D_TEST ? id - FIRST_3D_TEST : id + (TEST_COUNT - FIRST_3D_TEST);
}

bool TurnChannel::another_pass(int pass) {
  send("pass " + std::to_string(pass));
  return answer() == "go";
}

void TurnChannel::wait_turn(const TestInfo& test) {
  send("ready " + std::to_string(run_order_place(test.id)) + " " + test.keyword);
  if (answer() != "go") lost("told to end in the middle of a pass");
}

void TurnChannel::timed(const TestInfo& test, double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9f", seconds);
  send(std::string("timed ") + test.keyword + " " + text);
}

void TurnChannel::pass_done(const RunOptions& options, const RunResults& results, int passes) {
  RunOptions counted = options;
  counted.loops = passes;
  const GroupTotals totals = compute_group_totals(counted, results);
  send("totals " + value_text(totals.group_3d) + " " + value_text(totals.group_2d));
}

void TurnChannel::refuse(const char* why) { lost(why); }

void TurnChannel::send(const std::string& line) {
  const std::string text = line + "\n";
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) lost("tarvelin-compare no longer listens");
    sent += static_cast<size_t>(n);
  }
}

std::string TurnChannel::answer() {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string word = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (word != "go" && word != "end") lost("tarvelin-compare answered what is no turn");
      return word;
    }
    char buffer[64];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) lost("tarvelin-compare is gone");
    pending_.append(buffer, static_cast<size_t>(n));
  }
}
