#include "core/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The most links followed in a row, as the kernel allows.
constexpr int MOST_LINKS = 40;

// The file a link names, so that replacing it keeps the link; where that
// file does not exist yet, the name it will have, so that it is made
// through the link. A path that is no link stays as it is; empty for
// links that go round in a loop.
std::string resolve_link(const char* path) {
  std::string name = path;
  for (int followed = 0; followed < MOST_LINKS; ++followed) {
    struct stat link_info {};
    if (lstat(name.c_str(), &link_info) != 0 || !S_ISLNK(link_info.st_mode)) return name;
    char target[PATH_MAX];
    const ssize_t length = readlink(name.c_str(), target, sizeof target - 1);
    if (length < 0) return name;
    target[length] = '\0';
    name = target[0] == '/' ? std::string(target) : folder_of(name) + "/" + target;
  }
  return {};
}

// What a file created with fopen(path, "w") would get.
mode_t new_file_mode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

ssize_t write_output(void* cookie, const char* data, size_t size) {
  StreamOutput* output = static_cast<StreamOutput*>(cookie);
  size_t done = 0;
  while (done < size) {
    const ssize_t written = write(output->fd, data + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;  // no progress and no reason: do not spin
      if (output->first_error == 0) output->first_error = errno;
      break;
    }
    done += static_cast<size_t>(written);
  }
  return static_cast<ssize_t>(done);  // short: stdio marks the stream failed
}

int close_output(void* cookie) { return close(static_cast<StreamOutput*>(cookie)->fd); }

// Makes `file->stream` write to `fd` through a StreamOutput that keeps the
// first write error. On failure `fd` is closed.
bool open_stream(ReplacementFile* file, int fd) {
  auto output = std::make_unique<StreamOutput>();
  output->fd = fd;
  file->stream = fopencookie(output.get(), "w", {nullptr, write_output, nullptr, close_output});
  if (file->stream == nullptr) {
    const int reason = errno;
    close(fd);
    errno = reason;
    return false;
  }
  file->output = std::move(output);
  return true;
}

// The standard output or error when `info` is the file it writes to, else
// -1. Its stdio buffer is flushed, so that what is written through the
// descriptor comes after what the program wrote there before.
int standard_output_for(const struct stat& info) {
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat open_file {};
    if (fstat(fd, &open_file) == 0 && open_file.st_dev == info.st_dev &&
        open_file.st_ino == info.st_ino) {
      std::fflush(fd == STDOUT_FILENO ? stdout : stderr);
      return fd;
    }
  }
  return -1;
}

bool open_direct(ReplacementFile* file, const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);  // as fopen "w"
  if (fd < 0 || !open_stream(file, fd)) return false;
  file->temp_path.clear();
  file->target_path = path;
  return true;
}

// The temporary file in being, for the signal handler: a fixed buffer, as
// a handler may not allocate.
char doomed_path[PATH_MAX];
volatile sig_atomic_t doomed = 0;

// Signals whose default action ends the process and that a handler can
// catch; SIGKILL cannot be, and leaves the file behind.
constexpr int ENDING_SIGNALS[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGPIPE, SIGXFSZ,
                                  SIGXCPU, SIGABRT, SIGSEGV, SIGBUS,  SIGFPE,  SIGILL};
struct sigaction previous_actions[std::size(ENDING_SIGNALS)];

void remove_doomed_and_reraise(int signal_number) {
  if (doomed) unlink(doomed_path);
  doomed = 0;
  for (size_t i = 0; i < std::size(ENDING_SIGNALS); ++i) {
    if (ENDING_SIGNALS[i] == signal_number) sigaction(signal_number, &previous_actions[i], nullptr);
  }
  raise(signal_number);
}

// A signal the process ignores (a background job's SIGINT) stays ignored.
void guard_temp_file(const std::string& path) {
  if (path.size() >= sizeof doomed_path) return;
  std::memcpy(doomed_path, path.c_str(), path.size() + 1);
  doomed = 1;
  struct sigaction action {};
  action.sa_handler = remove_doomed_and_reraise;
  sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < std::size(ENDING_SIGNALS); ++i) {
    sigaction(ENDING_SIGNALS[i], nullptr, &previous_actions[i]);
    if (previous_actions[i].sa_handler == SIG_IGN) continue;
    sigaction(ENDING_SIGNALS[i], &action, nullptr);
  }
}

// Puts back what was there before, unless someone has set an action of
// their own since.
void release_temp_file() {
  if (!doomed) return;
  for (size_t i = 0; i < std::size(ENDING_SIGNALS); ++i) {
    struct sigaction current {};
    sigaction(ENDING_SIGNALS[i], nullptr, &current);
    if (current.sa_handler != remove_doomed_and_reraise) continue;
    sigaction(ENDING_SIGNALS[i], &previous_actions[i], nullptr);
  }
  doomed = 0;
}

void unlink_keeping_errno(const std::string& path) {
  const int reason = errno;
  unlink(path.c_str());
  errno = reason;
}

// Closes the stream; returns the first step that failed, or null.
const char* finish_stream(ReplacementFile* file, bool sync) {
  FILE* stream = std::exchange(file->stream, nullptr);
  const char* failed = nullptr;
  if (std::fflush(stream) != 0 || std::ferror(stream)) {
    failed = "write";
    errno = file->output->first_error != 0 ? file->output->first_error : EIO;
  } else if (sync && fsync(file->output->fd) != 0) {
    failed = "sync";
  }
  const int reason = errno;
  const bool closed = std::fclose(stream) == 0;
  file->output.reset();
  if (failed != nullptr) {
    errno = reason;
    return failed;
  }
  return closed ? nullptr : "close";
}

}  // namespace

bool open_replacement(ReplacementFile* file, const char* path) {
  if (path[0] == '\0') {
    errno = ENOENT;
    return false;
  }
  std::string target = resolve_link(path);
  if (target.empty()) {
    errno = ELOOP;
    return false;
  }
  struct stat info {};
  const bool exists = stat(target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  // Replacing the file the program's own output goes to (`-json
  // /dev/stdout > out.txt`) would leave that output in an unlinked file.
  if (const int fd = exists ? standard_output_for(info) : -1; fd >= 0) {
    const int copy = dup(fd);
    if (copy < 0 || !open_stream(file, copy)) return false;
    file->temp_path.clear();
    file->target_path = target;
    return true;
  }
  if (exists && !S_ISREG(info.st_mode)) return open_direct(file, path);
  if (exists && access(target.c_str(), W_OK) != 0) return false;

  std::string temp = folder_of(target) + "/.tarvelin-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return exists && open_direct(file, target);
  guard_temp_file(temp);
  fchmod(fd, exists ? (info.st_mode & 07777) : new_file_mode());
  if (!open_stream(file, fd)) {
    unlink_keeping_errno(temp);
    release_temp_file();
    return false;
  }
  file->temp_path = std::move(temp);
  file->target_path = std::move(target);
  return true;
}

std::string fallback_folder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

bool open_fallback(ReplacementFile* file, const char* suffix) {
  std::string path = fallback_folder() + "/tarvelin-report-XXXXXX" + suffix;
  const int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
  if (fd < 0) return false;
  fchmod(fd, new_file_mode());
  if (!open_stream(file, fd)) {
    unlink_keeping_errno(path);
    return false;
  }
  file->temp_path.clear();
  file->target_path = std::move(path);
  return true;
}

const char* commit_replacement(ReplacementFile* file) {
  const bool replacing = !file->temp_path.empty();
  const char* failed = finish_stream(file, replacing);
  if (failed == nullptr && replacing &&
      std::rename(file->temp_path.c_str(), file->target_path.c_str()) != 0) {
    failed = "rename";
  }
  if (failed != nullptr && replacing) unlink_keeping_errno(file->temp_path);
  if (replacing) release_temp_file();
  return failed;
}

const char* commit_new_file(ReplacementFile* file) {
  if (file->temp_path.empty()) {  // it existed after all, and was written directly
    discard_replacement(file);
    errno = EEXIST;
    return "link";
  }
  const char* failed = finish_stream(file, true);
  if (failed == nullptr && link(file->temp_path.c_str(), file->target_path.c_str()) != 0) {
    failed = "link";
  }
  unlink_keeping_errno(file->temp_path);
  release_temp_file();
  return failed;
}

ReplacementFile::~ReplacementFile() { discard_replacement(this); }

void discard_replacement(ReplacementFile* file) {
  if (file->stream == nullptr) return;
  std::fclose(std::exchange(file->stream, nullptr));
  file->output.reset();
  if (!file->temp_path.empty()) unlink(file->temp_path.c_str());
  release_temp_file();
}
