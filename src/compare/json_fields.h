// A result file's JSON read field by field: the document parsed with every
// fault placed by line and column, and a reader whose every complaint
// (BadInput, compare/run_file.h) names the field, so that a writer that
// drifts from the format learns where.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "compare/run_file.h"

// The document of `text`, parsed; throws BadInput for what is not JSON or
// not an object at the top.
nlohmann::json parsed_document(const std::string& text, const std::string& path);

class FieldReader {
 public:
  using json = nlohmann::json;
  explicit FieldReader(const std::string& path);

  [[noreturn]] void fail(const std::string& field, const std::string& problem) const;

  // The member `name` of `object`, which is the field `parent` (empty for
  // the top), checked to be of type `wanted` or null when `nullable`.
  // number_float stands for any number.
  const json& typed(const json& object, const std::string& parent, const char* name,
                    json::value_t wanted, bool nullable = false) const;

  // A score, a spread or a total: 0 or more, as every run gives them; -0
  // reads as 0.
  std::optional<double> measure_or_null(const json& object, const std::string& parent,
                                        const char* name) const;

  // A measure that older files lack: none where missing, else as
  // measure_or_null.
  std::optional<double> measure_if_present(const json& object, const std::string& parent,
                                           const char* name) const;

  // An array of measures, each checked as measure_or_null checks one (but
  // never null); `optional`: a missing one is empty.
  std::vector<double> measures(const json& object, const std::string& parent, const char* name,
                               bool optional = false) const;

  TestStatus status(const json& test, const std::string& parent) const;

  // Whether the test's picture differed; false also where the file does
  // not say.
  bool picture_differed(const json& test, const std::string& parent) const;

  // The totals of `group` ("3d" or "2d") under the document's totals.
  GroupValues group_total(const json& totals, const char* group) const;

 private:
  const std::string path_;  // as messages show it
};
