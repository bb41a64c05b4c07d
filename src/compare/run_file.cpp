#include "compare/run_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>

#include "compare/json_fields.h"
#include "core/printable.h"

using nlohmann::json;

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

// A name from the file in double quotes, cut to LONGEST_NAME. Appended
// rather than "\"" + printable(...): g++ 12 at -O3 falsely warns of
// overlapping copies (-Wrestrict) for a literal before a temporary string.
std::string quoted_name(const std::string& name) {
  std::string text = "\"";
  return text.append(printable(name, LONGEST_NAME)).append("\"");
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
    reader.fail(result_key::PROGRAM, quoted_name(program) + " is not \"" + RESULTS_PROGRAM + "\"");
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

// The score's bounds, both kept only where each given one lies on its side
// of the score.
void read_score_bounds(const json& test, const FieldReader& reader, const std::string& field,
                       TestResult& result) {
  const std::optional<double> low =
      reader.measure_if_present(test, field, field_name(TestField::score_low));
  const std::optional<double> high =
      reader.measure_if_present(test, field, field_name(TestField::score_high));
  const bool brackets =
      result.score && (!low || *low <= *result.score) && (!high || *high >= *result.score);
  if (!brackets) return;
  result.score_low = low;
  result.score_high = high;
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
      reader.fail(field + ".keyword", quoted_name(test.keyword) + " appears twice");
    }
    test.status = reader.status(tests[i], field);
    test.score = reader.measure_or_null(tests[i], field, field_name(TestField::score));
    test.cv = reader.measure_or_null(tests[i], field, field_name(TestField::cv));
    read_score_bounds(tests[i], reader, field, test);
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
