// Feeds arbitrary bytes to the result-file reader as a file's text, and a
// file it accepts to the comparison table. Any crash, overrun or undefined
// behaviour is a finding, and so is a message that is not one line, a
// message or table that shows a control character as it is, or a score's
// interval kept that does not bracket it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compare/comparison_table.h"
#include "compare/run_file.h"

namespace {

// Text as shown stays clear of C0 (but for the line breaks `breaks` lets
// through), DEL and C1.
void expect_shown(const std::string& text, bool breaks) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((c < 0x20 && !(breaks && c == '\n')) || c == 0x7f ||
        (c == 0xc2 && next >= 0x80 && next <= 0x9f)) {
      std::abort();
    }
  }
}

}  // namespace

// Inputs reach past this limit on what is read (the fuzzer's are at most
// 8 KiB), so that both sides of it are fuzzed.
constexpr size_t FUZZ_LARGEST = 4096;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;  // fmemopen wants a buffer
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) std::abort();
  try {
    const std::string text = read_result_text(file, "fuzz.json", FUZZ_LARGEST);
    std::fclose(file);
    file = nullptr;
    const RunFile run = parse_run_file(text, "fuzz.json");
    // An interval kept is one that brackets its score.
    for (const TestResult& test : run.tests) {
      if ((test.score_low || test.score_high) &&
          (!test.score || test.score_low.value_or(0) > *test.score ||
           test.score_high.value_or(*test.score) < *test.score)) {
        std::abort();
      }
    }
    expect_shown(comparison_table({run, run}), true);
  } catch (const BadInput& error) {
    expect_shown(error.what(), false);
  }
  if (file != nullptr) std::fclose(file);
  return 0;
}
