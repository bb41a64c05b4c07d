#include "compare/run_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>

using nlohmann::json;

namespace {

std::string read_whole_file(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw BadInput("cannot read " + path + ": " + std::strerror(errno));
  std::string text;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  // fread on a folder opens fine and fails on the first read (EISDIR).
  const int read_error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (read_error) throw BadInput("cannot read " + path + ": " + std::strerror(read_error));
  return text;
}

const char* kind(json::value_t type) {
  switch (type) {
    case json::value_t::object:
      return "an object";
    case json::value_t::array:
      return "an array";
    case json::value_t::string:
      return "a string";
    default:
      return "a number";  // the only other type the format asks for
  }
}

// Walks the document and names the field in every complaint, so that a
// writer that drifts from the format learns where.
class FieldReader {
 public:
  explicit FieldReader(const std::string& path) : path_(path) {}

  [[noreturn]] void fail(const std::string& field, const std::string& problem) const {
    throw BadInput(path_ + ": " + field + ": " + problem);
  }

  // The member `name` of `object`, which is the field `parent` (empty for
  // the top), checked to be of type `wanted` or null when `nullable`.
  // number_float stands for any number.
  const json& typed(const json& object, const std::string& parent, const char* name,
                    json::value_t wanted, bool nullable = false) const {
    const std::string field = parent.empty() ? name : parent + "." + name;
    const auto found = object.find(name);
    if (found == object.end()) fail(field, "missing");
    const json& value = *found;
    const bool fits = value.type() == wanted ||
                      (wanted == json::value_t::number_float && value.is_number()) ||
                      (nullable && value.is_null());
    if (!fits) {
      fail(field, std::string("expected ") + kind(wanted) + (nullable ? " or null" : "") +
                      ", found " + value.type_name());
    }
    return value;
  }

  std::optional<double> number_or_null(const json& object, const std::string& parent,
                                       const char* name) const {
    const json& value = typed(object, parent, name, json::value_t::number_float, true);
    if (value.is_null()) return std::nullopt;
    return value.get<double>();
  }

  TestStatus status(const json& test, const std::string& parent) const {
    const std::string word = typed(test, parent, "status", json::value_t::string);
    if (word == "timed") return TestStatus::timed;
    if (word == "skipped_by_check") return TestStatus::skipped_by_check;
    if (word == "left_out") return TestStatus::left_out;
    if (word == "not_run") return TestStatus::not_run;
    fail(parent + ".status", "unknown status \"" + word + "\"");
  }

  GroupTotal group_total(const json& totals, const char* group) const {
    const json& value = typed(totals, "totals", group, json::value_t::object);
    const std::string field = std::string("totals.") + group;
    return {number_or_null(value, field, "total"), number_or_null(value, field, "implemented")};
  }

 private:
  const std::string& path_;
};

}  // namespace

const TestResult* RunFile::find(const std::string& keyword) const {
  for (const TestResult& test : tests) {
    if (test.keyword == keyword) return &test;
  }
  return nullptr;
}

RunFile read_run_file(const std::string& path) {
  json document;
  try {
    document = json::parse(read_whole_file(path));
  } catch (const json::parse_error& error) {
    // what() starts with the library's "[json.exception.parse_error.N] ",
    // which says nothing to the user; the rest gives line and column.
    std::string where = error.what();
    const size_t tag_end = where.find("] ");
    if (tag_end != std::string::npos) where.erase(0, tag_end + 2);
    throw BadInput(path + ": not JSON: " + where);
  }

  const FieldReader reader(path);
  if (!document.is_object()) {
    throw BadInput(path + ": expected an object at the top, found " + document.type_name());
  }
  // The version decides how the rest reads, so it is checked first.
  const json& version = reader.typed(document, "", "schema_version", json::value_t::number_float);
  if (version.get<double>() != 1) {
    reader.fail("schema_version", version.dump() + " is not 1, the version this reader knows");
  }
  const std::string program = reader.typed(document, "", "program", json::value_t::string);
  if (program != "tarvelin") reader.fail("program", "\"" + program + "\" is not \"tarvelin\"");

  RunFile run;
  run.path = path;
  run.started = reader.typed(document, "", "started", json::value_t::string);
  const json& environment = reader.typed(document, "", "environment", json::value_t::object);
  const json& renderer =
      reader.typed(environment, "environment", "renderer", json::value_t::string, true);
  if (!renderer.is_null()) run.renderer = renderer.get<std::string>();
  if (environment.contains("platform")) {
    run.platform = reader.typed(environment, "environment", "platform", json::value_t::string)
                       .get<std::string>();
  }

  const json& tests = reader.typed(document, "", "tests", json::value_t::array);
  std::set<std::string> keywords;
  for (size_t i = 0; i < tests.size(); ++i) {
    const std::string field = "tests[" + std::to_string(i) + "]";
    if (!tests[i].is_object()) {
      reader.fail(field, std::string("expected an object, found ") + tests[i].type_name());
    }
    TestResult test;
    test.keyword = reader.typed(tests[i], field, "keyword", json::value_t::string);
    if (!keywords.insert(test.keyword).second) {
      reader.fail(field + ".keyword", "\"" + test.keyword + "\" appears twice");
    }
    test.status = reader.status(tests[i], field);
    test.score = reader.number_or_null(tests[i], field, "score");
    test.cv = reader.number_or_null(tests[i], field, "cv");
    run.tests.push_back(std::move(test));
  }

  const json& totals = reader.typed(document, "", "totals", json::value_t::object);
  run.total_3d = reader.group_total(totals, "3D");
  run.total_2d = reader.group_total(totals, "2D");
  return run;
}

std::vector<std::string> compared_keywords(const std::vector<RunFile>& runs) {
  std::vector<std::string> keywords;
  std::set<std::string> seen;
  for (const RunFile& run : runs) {
    for (const TestResult& test : run.tests) {
      if (seen.insert(test.keyword).second) keywords.push_back(test.keyword);
    }
  }
  return keywords;
}
