#include "compare/json_fields.h"

#include <algorithm>
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

}  // namespace

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

FieldReader::FieldReader(const std::string& path) : path_(printable(path)) {}

void FieldReader::fail(const std::string& field, const std::string& problem) const {
  throw BadInput(path_ + ": " + field + ": " + problem);
}

const json& FieldReader::typed(const json& object, const std::string& parent, const char* name,
                               json::value_t wanted, bool nullable) const {
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

std::optional<double> FieldReader::measure_or_null(const json& object, const std::string& parent,
                                                   const char* name) const {
  const json& value = typed(object, parent, name, json::value_t::number_float, true);
  if (value.is_null()) return std::nullopt;
  if (value.get<double>() < 0) {
    fail(parent + "." + name, value.dump() + " is below 0, which no run gives");
  }
  return zero_unsigned(value.get<double>());
}

std::optional<double> FieldReader::measure_if_present(const json& object, const std::string& parent,
                                                      const char* name) const {
  if (!object.contains(name)) return std::nullopt;
  return measure_or_null(object, parent, name);
}

std::vector<double> FieldReader::measures(const json& object, const std::string& parent,
                                          const char* name, bool optional) const {
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

TestStatus FieldReader::status(const json& test, const std::string& parent) const {
  const char* name = field_name(TestField::status);
  const std::string word = typed(test, parent, name, json::value_t::string);
  if (const std::optional<TestStatus> status = test_status_named(word)) return *status;
  fail(parent + "." + name, "unknown status \"" + printable(word, LONGEST_NAME) + "\"");
}

bool FieldReader::picture_differed(const json& test, const std::string& parent) const {
  const char* name = field_name(TestField::picture);
  if (!test.contains(name)) return false;
  const std::string word = typed(test, parent, name, json::value_t::string);
  if (std::find(PICTURE_RESULT_NAMES.begin(), PICTURE_RESULT_NAMES.end(), word) ==
      PICTURE_RESULT_NAMES.end()) {
    fail(parent + "." + name, "unknown picture result \"" + printable(word, LONGEST_NAME) + "\"");
  }
  return word == PICTURE_DIFFERS;
}

GroupValues FieldReader::group_total(const json& totals, const char* group) const {
  const json& value = typed(totals, result_key::TOTALS, group, json::value_t::object);
  const std::string field = std::string(result_key::TOTALS) + "." + group;
  return {measure_or_null(value, field, result_key::TOTAL),
          measure_or_null(value, field, result_key::IMPLEMENTED),
          measures(value, field, result_key::PASS_VALUES, true)};
}
