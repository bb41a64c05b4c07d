// One side of an -ab session: a tarvelin process started the way env(1)
// starts a program, with a socket it takes its turns on (-turns), read and
// written a line at a time, and stopped with whatever it started.
#pragma once

#include <sys/types.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A side that cannot be started, that ended or broke the protocol, or that
// stopped answering. what() is one line for the user.
class SideFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A side as its command-line word gives it: `NAME=VALUE` words, then
// optionally the program and its first arguments, split at blanks (no shell
// is involved, so no quoting either).
struct SideCommand {
  std::vector<std::string> environment;  // NAME=VALUE, in order
  std::vector<std::string> program;      // empty: the default program alone
};

// An empty word is the default program in this process's environment.
// Throws std::invalid_argument, saying why, for a NAME=VALUE whose NAME is
// not a variable's name.
SideCommand parse_side(const std::string& word);

class SideProcess {
 public:
  // Starts the side: its program (`default_program` where the command names
  // none) with the command's arguments and then `arguments`, its
  // environment that of this process with the command's NAME=VALUE words
  // set, its standard output and error going to `log_path`, in a process
  // group of its own that dies with this process. Throws SideFailure when
  // the socket or the process cannot be made; a program that cannot be
  // executed ends at once, which the first read tells.
  SideProcess(std::string name, const SideCommand& command, const std::string& default_program,
              const std::vector<std::string>& arguments, const std::string& log_path);
  ~SideProcess();
  SideProcess(const SideProcess&) = delete;
  SideProcess& operator=(const SideProcess&) = delete;

  const std::string& name() const { return name_; }
  int fd() const { return fd_; }

  // A whole line the side has sent, without its newline, if one has come.
  std::optional<std::string> take_line();
  // Reads what the socket holds now (after poll said so); false at its end.
  bool read_available();
  void send(const std::string& line);

  // Waits up to `seconds` for the process to end on its own; its status in
  // words ("exit status 0", "killed by signal 11"), or none while it runs.
  std::optional<std::string> wait_for_end(double seconds);
  bool ended_well() const { return ended_ && exit_status_ == 0; }
  // Ends the process group at once (TERM, then KILL after a moment) and
  // reaps it. Nothing is left running after it.
  void stop();

  // The last lines of its log, for a message about it.
  std::string log_tail(size_t lines = 8) const;

 private:
  std::string name_;
  std::string log_path_;
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string pending_;
  bool ended_ = false;
  int exit_status_ = -1;
  std::string end_words_;
};
