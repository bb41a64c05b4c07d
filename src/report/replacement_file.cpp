#include "report/replacement_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace {

// The file a link names, so that replacing it keeps the link.
std::string resolve_link(const char* path) {
  struct stat link_info {};
  if (lstat(path, &link_info) != 0 || !S_ISLNK(link_info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path, resolved) == nullptr) return path;  // dangling: replace the link
  return resolved;
}

// What a file created with fopen(path, "w") would get.
mode_t new_file_mode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool open_direct(ReplacementFile* file, const char* path) {
  file->stream = std::fopen(path, "w");
  file->temp_path.clear();
  file->target_path = path;
  return file->stream != nullptr;
}

void unlink_keeping_errno(const std::string& path) {
  const int reason = errno;
  unlink(path.c_str());
  errno = reason;
}

// Closes the stream; returns the step that failed, or null.
const char* finish_stream(FILE* stream, bool sync) {
  const char* failed = nullptr;
  if (std::fflush(stream) != 0) {
    failed = "write";
  } else if (std::ferror(stream)) {
    errno = EIO;  // an earlier write failed; its own errno may be gone
    failed = "write";
  } else if (sync && fsync(fileno(stream)) != 0) {
    failed = "sync";
  }
  const int reason = errno;
  const bool closed = std::fclose(stream) == 0;
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
  struct stat info {};
  const bool exists = stat(target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (exists && !S_ISREG(info.st_mode)) return open_direct(file, path);
  if (exists && access(target.c_str(), W_OK) != 0) return false;

  std::string temp = target + ".tmp-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  fchmod(fd, exists ? (info.st_mode & 07777) : new_file_mode());
  FILE* stream = fdopen(fd, "w");
  if (stream == nullptr) {
    close(fd);
    unlink_keeping_errno(temp);
    return false;
  }
  file->stream = stream;
  file->temp_path = std::move(temp);
  file->target_path = std::move(target);
  return true;
}

const char* commit_replacement(ReplacementFile* file) {
  FILE* stream = std::exchange(file->stream, nullptr);
  const bool replacing = !file->temp_path.empty();
  const char* failed = finish_stream(stream, replacing);
  if (failed == nullptr && replacing &&
      std::rename(file->temp_path.c_str(), file->target_path.c_str()) != 0) {
    failed = "rename";
  }
  if (failed != nullptr && replacing) unlink_keeping_errno(file->temp_path);
  return failed;
}

void discard_replacement(ReplacementFile* file) {
  if (file->stream == nullptr) return;
  std::fclose(std::exchange(file->stream, nullptr));
  if (!file->temp_path.empty()) unlink(file->temp_path.c_str());
}
