#include "compare/run_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <string_view>
#include <type_traits>

#include "core/printable.h"

using nlohmann::json;

namespace {

// -0.0, which a file may hold, is the 0 that every run writes.
double zero_unsigned(double value) { return value == 0 ? 0.0 : value; }

const char* kind(json::value_t type) {
  switch (type) {
    case json::value_t::object:
      return "an object";
    case json::value_t::array:
      return "an array";
    case json::value_t::string:
      return "a string";
    case json::value_t::boolean:
      return "a boolean";
    default:
      return "a number";  // the only other type the format asks for
  }
}

// The library's document builder (from its detail namespace: its public
// parse has no other hook on errors), but for a number too large for a
// double, which it would tell without a place and not as a parse error:
// this one says where it is, as for any other fault.
class DocumentBuilder : public nlohmann::detail::json_sax_dom_parser<json> {
 public:
  DocumentBuilder(json& document, const std::string& text, const std::string& path)
      : json_sax_dom_parser(document), text_(text), path_(printable(path)) {}

  // `end` is where the token that failed ends.
  template <class Exception>
  bool parse_error(size_t end, const std::string& token, const Exception& error) {
    if constexpr (std::is_same_v<Exception, json::out_of_range>) {
      const size_t token_end = std::min(text_.size(), end);
      const std::string_view before(text_.data(), token_end - std::min(token_end, token.size()));
      const size_t line_begin = before.rfind('\n') + 1;  // npos + 1: the first line
      throw BadInput(path_ + ": at line " +
                     std::to_string(1 + std::count(before.begin(), before.end(), '\n')) +
                     ", column " + std::to_string(before.size() - line_begin + 1) + ": " +
                     printable(token, LONGEST_NAME) + " is too large a number");
    }
    return json_sax_dom_parser::parse_error(end, token, error);
  }

 private:
  const std::string& text_;
  const std::string path_;  // as messages show it
};

// The library's message on a parse error quotes the last token read, which
// may be as long as the file.
constexpr size_t LONGEST_MESSAGE = 200;

// Walks the document and names the field in every complaint, so that a
// writer that drifts from the format learns where.
class FieldReader {
 public:
  explicit FieldReader(const std::string& path) : path_(printable(path)) {}

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

  // A score, a spread or a total: 0 or more, as every run gives them.
  std::optional<double> measure_or_null(const json& object, const std::string& parent,
                                        const char* name) const {
    const json& value = typed(object, parent, name, json::value_t::number_float, true);
    if (value.is_null()) return std::nullopt;
    if (value.get<double>() < 0) {
      fail(parent + "." + name, value.dump() + " is below 0, which no run gives");
    }
    return zero_unsigned(value.get<double>());
  }

  // An array of measures, each checked as measure_or_null checks one (but
  // never null); `optional`: a missing one is empty.
  std::vector<double> measures(const json& object, const std::string& parent, const char* name,
                               bool optional = false) const {
    if (optional && !object.contains(name)) return {};
    const std::string field = parent + "." + name;
    const json& array = typed(object, parent, name, json::value_t::array);
    std::vector<double> values;
    values.reserve(array.size());
    for (size_t i = 0; i < array.size(); ++i) {
      const std::string item = field + "[" + std::to_string(i) + "]";
      if (!array[i].is_number()) {
        fail(item, std::string("expected a number, found ") + array[i].type_name());
      }
      const double value = array[i].get<double>();
      if (value < 0) fail(item, array[i].dump() + " is below 0, which no run gives");
      values.push_back(zero_unsigned(value));
    }
    return values;
  }

  TestStatus status(const json& test, const std::string& parent) const {
    const char* name = field_name(TestField::status);
    const std::string word = typed(test, parent, name, json::value_t::string);
    if (const std::optional<TestStatus> status = test_status_named(word)) return *status;
    fail(parent + "." + name, "unknown status \"" + printable(word, LONGEST_NAME) + "\"");
  }

  // Whether the test's picture differed; false also where the file does
  // not say.
  bool picture_differed(const json& test, const std::string& parent) const {
    const char* name = field_name(TestField::picture);
    if (!test.contains(name)) return false;
    const std::string word = typed(test, parent, name, json::value_t::string);
    if (std::find(PICTURE_RESULT_NAMES.begin(), PICTURE_RESULT_NAMES.end(), word) ==
        PICTURE_RESULT_NAMES.end()) {
      fail(parent + "." + name, "unknown picture result \"" + printable(word, LONGEST_NAME) + "\"");
    }
    return word == PICTURE_DIFFERS;
  }

  GroupValues group_total(const json& totals, const char* group) const {
    const json& value = typed(totals, result_key::TOTALS, group, json::value_t::object);
    const std::string field = std::string(result_key::TOTALS) + "." + group;
    return {measure_or_null(value, field, result_key::TOTAL),
            measure_or_null(value, field, result_key::IMPLEMENTED),
            measures(value, field, result_key::PASS_VALUES, true)};
  }

 private:
  const std::string path_;  // as messages show it
};

}  // namespace

const TestResult* RunFile::find(const std::string& keyword) const {
  const auto found = places.find(keyword);
  return found == places.end() ? nullptr : &tests[found->second];
}

std::string read_result_text(std::FILE* file, const std::string& path, size_t largest) {
  std::string text;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (text.size() + got > largest) {
      const bool whole_mib = largest % (1u << 20) == 0;
      throw BadInput("cannot read " + printable(path) + ": larger than " +
                     std::to_string(whole_mib ? largest >> 20 : largest) +
                     (whole_mib ? " MiB" : " bytes") + ", which no result file is");
    }
    text.append(buffer, got);
  }
  // fread on a folder opens fine and fails on the first read (EISDIR).
  if (std::ferror(file)) {
    throw BadInput("cannot read " + printable(path) + ": " + std::strerror(errno));
  }
  return text;
}

RunFile read_run_file(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw BadInput("cannot read " + printable(path) + ": " + std::strerror(errno));
  std::string text;
  try {
    text = read_result_text(file, path);
  } catch (...) {
    std::fclose(file);
    throw;
  }
  std::fclose(file);
  return parse_run_file(text, path);
}

namespace {

// The document of `text`, parsed; throws BadInput for what is not JSON.
json parsed_document(const std::string& text, const std::string& path) {
  json document;
  try {
    DocumentBuilder builder(document, text, path);
    json::sax_parse(text, &builder);
  } catch (const json::parse_error& error) {
    // what() starts with the library's "[json.exception.parse_error.N] ",
    // which says nothing to the user; the rest gives line and column.
    std::string where = error.what();
    const size_t tag_end = where.find("] ");
    if (tag_end != std::string::npos) where.erase(0, tag_end + 2);
    throw BadInput(printable(path) + ": not JSON: " + printable(where, LONGEST_MESSAGE));
  }
  if (!document.is_object()) {
    throw BadInput(printable(path) + ": expected an object at the top, found " +
                   document.type_name());
  }
  return document;
}

// The version decides how the rest reads, so it is checked first; then
// that the file is the program's.
void check_format(const json& document, const FieldReader& reader) {
  const json& version =
      reader.typed(document, "", result_key::SCHEMA_VERSION, json::value_t::number_float);
  if (version.get<double>() != RESULTS_SCHEMA_VERSION) {
    reader.fail(result_key::SCHEMA_VERSION, version.dump() + " is not " +
                                                std::to_string(RESULTS_SCHEMA_VERSION) +
                                                ", the version this reader knows");
  }
  const std::string program =
      reader.typed(document, "", result_key::PROGRAM, json::value_t::string);
  if (program != RESULTS_PROGRAM) {
    reader.fail(result_key::PROGRAM,
                "\"" + printable(program, LONGEST_NAME) + "\" is not \"" + RESULTS_PROGRAM + "\"");
  }
}

void read_environment(const json& document, const FieldReader& reader, RunFile& run) {
  const json& environment =
      reader.typed(document, "", result_key::ENVIRONMENT, json::value_t::object);
  const json& renderer = reader.typed(environment, result_key::ENVIRONMENT, result_key::RENDERER,
                                      json::value_t::string, true);
  if (!renderer.is_null()) run.renderer = renderer.get<std::string>();
  if (environment.contains(result_key::PLATFORM)) {
    run.platform = reader
                       .typed(environment, result_key::ENVIRONMENT, result_key::PLATFORM,
                              json::value_t::string)
                       .get<std::string>();
  }
}

void read_tests(const json& document, const FieldReader& reader, const std::string& path,
                RunFile& run) {
  const json& tests = reader.typed(document, "", result_key::TESTS, json::value_t::array);
  for (size_t i = 0; i < tests.size(); ++i) {
    const std::string field = "tests[" + std::to_string(i) + "]";
    if (!tests[i].is_object()) {
      reader.fail(field, std::string("expected an object, found ") + tests[i].type_name());
    }
    if (tests[i].contains(result_key::VALIDATION)) {
      throw BadInput(printable(path) + ": a validation run (" + field +
                     " has \"validation\"): it has no scores to compare");
    }
    TestResult test;
    test.keyword =
        reader.typed(tests[i], field, field_name(TestField::keyword), json::value_t::string);
    if (!run.places.emplace(test.keyword, run.tests.size()).second) {
      reader.fail(field + ".keyword",
                  "\"" + printable(test.keyword, LONGEST_NAME) + "\" appears twice");
    }
    test.status = reader.status(tests[i], field);
    test.score = reader.measure_or_null(tests[i], field, field_name(TestField::score));
    test.cv = reader.measure_or_null(tests[i], field, field_name(TestField::cv));
    test.pass_seconds = reader.measures(tests[i], field, field_name(TestField::pass_seconds));
    test.picture_differed = reader.picture_differed(tests[i], field);
    run.tests.push_back(std::move(test));
  }
}

std::optional<Verdict> read_verdict(const json& document, const FieldReader& reader) {
  if (!document.contains(result_key::VERDICT)) return std::nullopt;
  const json& value = reader.typed(document, "", result_key::VERDICT, json::value_t::object, true);
  if (value.is_null()) return std::nullopt;
  Verdict verdict;
  verdict.trusted =
      reader.typed(value, result_key::VERDICT, result_key::TRUSTED, json::value_t::boolean);
  const std::string list = std::string(result_key::VERDICT) + "." + result_key::FINDINGS;
  const json& findings =
      reader.typed(value, result_key::VERDICT, result_key::FINDINGS, json::value_t::array);
  std::set<std::string> seen;  // a damaged file's thousands of kinds take no square time
  for (size_t i = 0; i < findings.size(); ++i) {
    const std::string field = list + "[" + std::to_string(i) + "]";
    if (!findings[i].is_object()) {
      reader.fail(field, std::string("expected an object, found ") + findings[i].type_name());
    }
    const std::string kind =
        reader.typed(findings[i], field, result_key::KIND, json::value_t::string);
    if (seen.insert(kind).second) verdict.finding_kinds.push_back(kind);
  }
  return verdict;
}

}  // namespace

RunFile parse_run_file(const std::string& text, const std::string& path) {
  const json document = parsed_document(text, path);
  const FieldReader reader(path);
  check_format(document, reader);
  RunFile run;
  run.path = path;
  run.started = reader.typed(document, "", result_key::STARTED, json::value_t::string);
  const json& settings = reader.typed(document, "", result_key::SETTINGS, json::value_t::object);
  run.quarter =
      reader.typed(settings, result_key::SETTINGS, result_key::QUARTER, json::value_t::boolean);
  read_environment(document, reader, run);
  read_tests(document, reader, path, run);
  const json& totals = reader.typed(document, "", result_key::TOTALS, json::value_t::object);
  run.total_3d = reader.group_total(totals, result_key::GROUP_3D);
  run.total_2d = reader.group_total(totals, result_key::GROUP_2D);
  run.verdict = read_verdict(document, reader);
  return run;
}

std::optional<double> score_ratio(const TestResult* test, const TestResult* first) {
  const auto scored = [](const TestResult* t) {
    return t && t->status == TestStatus::timed && t->score;
  };
  if (!scored(test) || !scored(first) || *first->score <= 0) return std::nullopt;
  return *test->score / *first->score;
}

std::optional<double> total_ratio(const GroupValues& total, const GroupValues& first) {
  if (!total.total || !first.total || *first.total <= 0) return std::nullopt;
  return *total.total / *first.total;
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
