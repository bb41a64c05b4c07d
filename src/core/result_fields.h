// The result files' vocabulary, declared once: the JSON and CSV writers
// (report/result_files) and tarvelin-compare's reader (compare/run_file)
// all take their names from here, and docs/results.md describes them.
//
// A new field of a test is a new TestField (before `count`) with its name in
// TEST_FIELD_NAMES, and its value in the writer's one list of a test's
// values; the CSV column follows by itself. A field a reader needs is read
// by the name here, never by a literal of its own.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

constexpr int RESULTS_SCHEMA_VERSION = 1;

// Keys of the document and of its objects that the writer and the reader
// share.
namespace result_key {
constexpr const char* SCHEMA_VERSION = "schema_version";
constexpr const char* PROGRAM = "program";
constexpr const char* STARTED = "started";
constexpr const char* ENVIRONMENT = "environment";
constexpr const char* RENDERER = "renderer";
constexpr const char* PLATFORM = "platform";
constexpr const char* TESTS = "tests";
constexpr const char* VALIDATION = "validation";
constexpr const char* TOTALS = "totals";
constexpr const char* GROUP_3D = "3D";
constexpr const char* GROUP_2D = "2D";
constexpr const char* TOTAL = "total";
constexpr const char* VERDICT = "verdict";
constexpr const char* TRUSTED = "trusted";
constexpr const char* FINDINGS = "findings";
constexpr const char* KIND = "kind";
constexpr const char* TEXT = "text";
constexpr const char* IMPLEMENTED = "implemented";
constexpr const char* PASS_VALUES = "pass_values";
constexpr const char* SETTINGS = "settings";
constexpr const char* QUARTER = "quarter";
}  // namespace result_key

// What the check of a test's picture found, as a test's `picture` names it,
// in PictureVerdict::State order (core/run_results.h).
constexpr std::array<const char*, 4> PICTURE_RESULT_NAMES = {"not_checked", "ok", "differs",
                                                             "skipped"};
constexpr const char* PICTURE_DIFFERS = PICTURE_RESULT_NAMES[2];

// The value of `program`.
constexpr const char* RESULTS_PROGRAM = "tarvelin";

// The fields of a test, in the order of the JSON object's members and of
// the CSV's columns.
enum class TestField {
  id,
  keyword,
  title,
  label,
  group,
  reference_seconds,
  status,
  pass_seconds,
  min_seconds,
  median_seconds,
  max_seconds,
  mean_seconds,
  trimmed_mean_seconds,
  cv,
  score,
  score_low,
  score_high,
  ci_half_width,
  precision_met,
  picture,
  count
};
constexpr std::array<const char*, static_cast<size_t>(TestField::count)> TEST_FIELD_NAMES = {
    "id",
    "keyword",
    "title",
    "label",
    "group",
    "reference_seconds",
    "status",
    "pass_seconds",
    "min_seconds",
    "median_seconds",
    "max_seconds",
    "mean_seconds",
    "trimmed_mean_seconds",
    "cv",
    "score",
    "score_low",
    "score_high",
    "ci_half_width",
    "precision_met",
    "picture"};
constexpr const char* field_name(TestField field) {
  return TEST_FIELD_NAMES[static_cast<size_t>(field)];
}

// What became of a test.
enum class TestStatus {
  timed,
  skipped_by_check,  // its automatic check found what it measures missing or without effect
  left_out,          // the pass definition (or -only) passed over it
  not_run,           // status-only mode: no test ran
  // Off-screen the surface lacks what it needs (a second buffer, an
  // accumulation buffer), whatever the automatic check is set to.
  skipped_off_screen,
};

// The name the result files give a status, e.g. "skipped_by_check", and the
// status of a name; none for a name that is no status.
const char* test_status_name(TestStatus status);
std::optional<TestStatus> test_status_named(std::string_view name);
