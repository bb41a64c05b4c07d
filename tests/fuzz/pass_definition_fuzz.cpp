// Feeds arbitrary bytes to the pass definition reader as a file; any crash,
// overrun or undefined behaviour is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/pass_definition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of its own, so that the stream cannot write into the input.
  std::vector<char> bytes(data, data + size);
  bytes.push_back('\0');  // fmemopen needs a buffer, also for an empty input
  FILE* file = fmemopen(bytes.data(), size == 0 ? 1 : size, "r");
  if (file == nullptr) return 0;
  if (size == 0) std::fgetc(file);  // an empty file: at its end from the start
  size_t warning_bytes = 0;
  const PassSelection selection =
      parse_pass_definition(file, [&](const std::string& text) { warning_bytes += text.size(); });
  std::fclose(file);

  for (uint8_t flag : selection.skip_flags) {
    if (flag > 1) std::abort();
  }
  if (selection.progress_total < 0) std::abort();
  if (warning_bytes > size + 64 * (size + 1)) std::abort();
  return 0;
}
