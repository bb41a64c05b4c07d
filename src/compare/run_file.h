// Reading a result file that `tarvelin -json FILE` wrote (docs/results.md)
// into what the comparison shows of it.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A file that cannot be read or does not follow the result format. what()
// is one line that names the file and, for content, the field.
class BadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TestStatus { timed, skipped_by_check, left_out, not_run };

struct TestResult {
  std::string keyword;
  TestStatus status = TestStatus::timed;
  std::optional<double> score;  // none when not timed or too fast to measure
  std::optional<double> cv;     // none for fewer than 2 passes
};

// A group's closing value: the total when every test of the group was
// measured, else the "implemented" value over those that were, else none.
struct GroupTotal {
  std::optional<double> total;
  std::optional<double> implemented;
};

struct RunFile {
  std::string path;                     // as given on the command line
  std::optional<std::string> renderer;  // the GL renderer string
  // Where it drew: "glx", "egl-device" or "egl-surfaceless"; none in files
  // written before the field existed.
  std::optional<std::string> platform;
  std::string started;            // ISO 8601 UTC, as written
  std::vector<TestResult> tests;  // in the file's order, keywords unique
  GroupTotal total_3d;
  GroupTotal total_2d;

  // The test of that keyword; null when the file has none.
  const TestResult* find(const std::string& keyword) const;
};

// Reads and checks `path`. Throws BadInput when the file cannot be read
// ("cannot read PATH: <errno text>"), is not JSON ("PATH: not JSON: <where
// parsing failed>"), or does not follow schema version 1: a field this
// reader uses is missing or of another type, `schema_version` is not 1,
// `program` is not "tarvelin", a status is unknown or a keyword repeats.
// `environment.platform` may be missing (older files). Fields it does not
// use are not checked.
RunFile read_run_file(const std::string& path);

// The keywords of the comparison's rows: the first run's tests in its
// order, then each test that only later runs have, in order of appearance.
std::vector<std::string> compared_keywords(const std::vector<RunFile>& runs);
