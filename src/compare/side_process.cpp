#include "compare/side_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

// The descriptor a side finds its socket on, as `-turns 3` tells it.
constexpr int SIDE_SOCKET_FD = 3;
// How long a side told to stop has to end before it is killed.
constexpr double STOP_GRACE_SECONDS = 2.0;

bool variable_name(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

// This process's environment with the side's words set over it.
std::vector<std::string> side_environment(const std::vector<std::string>& words) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) result.emplace_back(*entry);
  for (const std::string& word : words) {
    const std::string name = word.substr(0, word.find('=') + 1);
    std::erase_if(result,
                  [&](const std::string& e) { return e.compare(0, name.size(), name) == 0; });
    result.push_back(word);
  }
  return result;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
  std::vector<char*> result;
  for (std::string& word : words) result.push_back(word.data());
  result.push_back(nullptr);
  return result;
}

std::string status_words(int status) {
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) {
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  }
  return "status " + std::to_string(status);
}

// In the child, between fork and exec: only calls that are safe there. An
// exec that fails writes its errno to `report` and ends the child.
[[noreturn]] void become_side(pid_t parent, int socket_fd, int log_fd, int report, char** argv,
                              char** envp) {
  setpgid(0, 0);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  dup2(log_fd, STDOUT_FILENO);
  dup2(log_fd, STDERR_FILENO);
  if (socket_fd == SIDE_SOCKET_FD) {
    fcntl(socket_fd, F_SETFD, 0);
  } else {
    dup2(socket_fd, SIDE_SOCKET_FD);
  }
  // As env(1) does: a program without a slash is looked for on the PATH.
  if (std::strchr(argv[0], '/') != nullptr) {
    execve(argv[0], argv, envp);
  } else {
    execvpe(argv[0], argv, envp);
  }
  const int error = errno;
  [[maybe_unused]] const ssize_t written = write(report, &error, sizeof error);
  _exit(127);
}

}  // namespace

SideCommand parse_side(const std::string& word) {
  SideCommand command;
  std::istringstream words(word);
  std::string piece;
  while (words >> piece) {
    const size_t equals = piece.find('=');
    if (command.program.empty() && equals != std::string::npos) {
      if (!variable_name(piece.substr(0, equals))) {
        throw std::invalid_argument(
            "\"" + piece +
            "\" sets no variable: a name is letters, digits and _, not starting with a digit");
      }
      command.environment.push_back(piece);
    } else {
      command.program.push_back(piece);
    }
  }
  return command;
}

SideProcess::SideProcess(std::string name, const SideCommand& command,
                         const std::string& default_program,
                         const std::vector<std::string>& arguments, const std::string& log_path)
    : name_(std::move(name)), log_path_(log_path) {
  std::vector<std::string> argv_words =
      command.program.empty() ? std::vector<std::string>{default_program} : command.program;
  argv_words.insert(argv_words.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env_words = side_environment(command.environment);
  std::vector<char*> argv = pointers(argv_words);
  std::vector<char*> envp = pointers(env_words);

  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
    throw SideFailure(name_ + ": cannot make its socket: " + std::strerror(errno));
  }
  const int log_fd = open(log_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  int report[2];
  if (log_fd < 0 || pipe2(report, O_CLOEXEC) != 0) {
    const std::string error = std::strerror(errno);
    close(sockets[0]);
    close(sockets[1]);
    if (log_fd >= 0) close(log_fd);
    throw SideFailure(name_ + ": cannot write its log " + log_path + ": " + error);
  }
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) become_side(parent, sockets[1], log_fd, report[1], argv.data(), envp.data());
  const int fork_error = errno;
  // Also here, so that the group exists before anything is sent to it.
  if (pid_ > 0) setpgid(pid_, pid_);
  close(sockets[1]);
  close(log_fd);
  close(report[1]);
  fd_ = sockets[0];
  if (pid_ < 0) {
    close(report[0]);
    throw SideFailure(name_ + ": cannot start a process: " + std::strerror(fork_error));
  }
  int exec_error = 0;
  const ssize_t got = read(report[0], &exec_error, sizeof exec_error);
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof exec_error)) {
    wait_for_end(STOP_GRACE_SECONDS);
    throw SideFailure(name_ + ": cannot run " + argv_words[0] + ": " + std::strerror(exec_error));
  }
}

SideProcess::~SideProcess() {
  stop();
  if (fd_ >= 0) close(fd_);
}

std::optional<std::string> SideProcess::take_line() {
  const size_t end = pending_.find('\n');
  if (end == std::string::npos) return std::nullopt;
  std::string line = pending_.substr(0, end);
  pending_.erase(0, end + 1);
  return line;
}

bool SideProcess::read_available() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    pending_.append(buffer, static_cast<size_t>(n));
    return true;
  }
}

void SideProcess::send(const std::string& line) {
  const std::string text = line + "\n";
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw SideFailure(name_ + " stopped listening: " + std::strerror(errno));
    sent += static_cast<size_t>(n);
  }
}

std::optional<std::string> SideProcess::wait_for_end(double seconds) {
  if (ended_) return end_words_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || (done < 0 && errno != EINTR)) {
      // Whatever the side started goes with it.
      kill(-pid_, SIGKILL);
      ended_ = true;
      exit_status_ = done == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      end_words_ = done == pid_ ? status_words(status) : "lost";
      return end_words_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void SideProcess::stop() {
  if (pid_ <= 0 || ended_) return;
  kill(-pid_, SIGTERM);
  if (wait_for_end(STOP_GRACE_SECONDS)) return;
  kill(-pid_, SIGKILL);
  wait_for_end(STOP_GRACE_SECONDS);
}

std::string SideProcess::log_tail(size_t lines) const {
  std::ifstream log(log_path_);
  std::deque<std::string> last;
  std::string line;
  while (std::getline(log, line)) {
    last.push_back(line);
    if (last.size() > lines) last.pop_front();
  }
  std::string text;
  for (const std::string& kept : last) text += "  " + kept + "\n";
  return text;
}
