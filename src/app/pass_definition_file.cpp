#include "app/pass_definition_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "core/printable.h"
#include "platform/platform.h"

namespace {

void warn(const std::string& text) { platform::message_box("Warning", text.c_str()); }

// The file opened for reading, or null. Opening never blocks, so a pipe
// with no writer cannot hang the run; what is no regular file, or is too
// large to be a pass definition, is refused with a warning saying why.
FILE* open_pass_file(const char* name) {
  const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  const char* refusal = nullptr;
  if (fstat(fd, &info) != 0) {
    refusal = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    refusal = S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file";
  } else if (info.st_size > PASS_FILE_MAX_BYTES) {
    refusal = "larger than 1 MB";
  }
  FILE* file = refusal == nullptr ? fdopen(fd, "r") : nullptr;
  if (file == nullptr) {
    if (refusal == nullptr) refusal = std::strerror(errno);
    close(fd);
    warn("Not opened " + printable(name) + " (" + refusal + ")");
  }
  return file;
}

}  // namespace

PassSelection read_pass_definition(const char* pass_file) {
  FILE* file = open_pass_file(pass_file);
  const PassSelection selection = parse_pass_definition(file, warn);
  if (file != nullptr) std::fclose(file);
  return selection;
}
