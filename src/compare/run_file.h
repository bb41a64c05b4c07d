// Reading a result file that `tarvelin -json FILE` wrote (docs/results.md)
// into what the comparison shows of it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/result_fields.h"

// A file that cannot be read or does not follow the result format. what()
// is one line that names the file and, for content, the field.
class BadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TestResult {
  std::string keyword;
  TestStatus status = TestStatus::timed;
  std::optional<double> score;  // none when not timed or too fast to measure
  std::optional<double> cv;     // none for fewer than 2 passes
  // The score's 95% interval as the file gives it: each end none where the
  // file has none (null, missing in older files, or a pair set aside for
  // not bracketing the score); a missing end beside a given one is
  // unbounded. Where both are given, score_low <= score <= score_high.
  std::optional<double> score_low;
  std::optional<double> score_high;
  // The measured seconds of each pass the score counts (quarter-length in
  // a quarter run); empty unless timed.
  std::vector<double> pass_seconds;
  // The check of the picture it drew found it other than its reference:
  // the score timed drawing that went wrong. False also where the file
  // does not say (written before pictures were checked).
  bool picture_differed = false;
};

// A group's closing values as the file gives them: the total when every
// test of the group was measured, else the "implemented" value over those
// that were, else none.
struct GroupValues {
  std::optional<double> total;
  std::optional<double> implemented;
  // The group's value as each pass alone scores it (higher is faster);
  // empty where the value is none and in files written before it existed.
  std::vector<double> pass_values;
};

// What the run's own checks made of it, as its file tells: whether its
// numbers can be trusted, and the kinds of what they found ("pictures_differ",
// "software_renderer", ...), each kind once, in the file's order.
struct Verdict {
  bool trusted = false;
  std::vector<std::string> finding_kinds;
};

struct RunFile {
  std::string path;                     // as given on the command line
  std::optional<std::string> renderer;  // the GL renderer string
  // Where it drew: "glx", "egl-device" or "egl-surfaceless"; none in files
  // written before the field existed.
  std::optional<std::string> platform;
  std::string started;            // ISO 8601 UTC, as written
  bool quarter = false;           // every test ran a quarter of its iterations
  std::vector<TestResult> tests;  // in the file's order, keywords unique
  // Each keyword's place in `tests`, so that finding every row's test in
  // every run takes no time that grows with the square of their number.
  std::map<std::string, size_t> places;
  GroupValues total_3d;
  GroupValues total_2d;
  // None where the run was not judged (null: status-only runs) or the file
  // was written before runs were.
  std::optional<Verdict> verdict;

  // The test of that keyword; null when the file has none. Needs `places`.
  const TestResult* find(const std::string& keyword) const;
};

// A run of 50 passes writes some 300 KB; what is far larger (a device, a
// stream without end) is no result file and is not read to its end.
constexpr size_t LARGEST_RUN_FILE = 16u << 20;

// The text of the result file `file` (named `path` in messages), read to
// its end. Throws BadInput on a read error ("cannot read PATH: <errno
// text>") and once it goes past `largest` bytes ("cannot read PATH: larger
// than 16 MiB, which no result file is"), reading no further.
std::string read_result_text(std::FILE* file, const std::string& path,
                             size_t largest = LARGEST_RUN_FILE);

// Reads `path` with read_result_text and parses it with parse_run_file.
// Throws BadInput also when the file cannot be opened.
RunFile read_run_file(const std::string& path);

// Parses `text`, the content of the result file `path` (which only names it
// in messages). Throws BadInput when it is not JSON ("PATH: not JSON: <where
// parsing failed>"), holds a number too large for a double ("PATH: at line
// L, column C: <number> is too large a number"), is a validation run (whose
// scores are all null, "PATH: a validation run ...: it has no scores to
// compare"), or does not follow schema version 1: a field this reader uses
// is missing or of another type, `schema_version` is not 1, `program` is
// not "tarvelin", a status or picture result is unknown, a keyword
// repeats, or a score, cv, score bound or total is below 0, which no run
// gives. `environment.platform`, a test's `picture`, `score_low` and
// `score_high`, `verdict` and a total's `pass_values` may be missing (older
// files). A test's score bounds that do not bracket its score (a low one
// above it, a high one below it, or either without a score) are set
// aside together, leniently: the score stands without an interval. A test's
// `pass_seconds` and a
// total's `pass_values` are arrays of numbers of 0 or more. Of the verdict it uses `trusted` and
// each finding's `kind`, which may be any string (kinds yet to come are shown as named). Fields it
// does not use are not checked.
RunFile parse_run_file(const std::string& text, const std::string& path);

// Names from a file (keywords, platforms, a number's digits) are shown cut
// to this many characters: tarvelin's longest keyword has 22, and a longer
// name only comes from a damaged file, which must not make every row of a
// table, or a chart, as wide as it.
constexpr size_t LONGEST_NAME = 40;

// A later run's score of a test over the first run's: none unless both
// were timed and scored and the first's score is above 0.
std::optional<double> score_ratio(const TestResult* test, const TestResult* first);
// A later run's total of a group over the first run's: none unless both
// have a full total (not an implemented value) and the first's is above 0.
std::optional<double> total_ratio(const GroupValues& total, const GroupValues& first);

// The keywords of the comparison's rows: the first run's tests in its
// order, then each test that only later runs have, in order of appearance.
std::vector<std::string> compared_keywords(const std::vector<RunFile>& runs);
