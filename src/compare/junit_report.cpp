#include "compare/junit_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "compare/comparison_table.h"
#include "core/printable.h"
#include "core/replacement_file.h"

namespace {

// Text in an attribute: the five characters XML gives meaning, and the
// control characters it cannot hold at all.
std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += ' ';
        } else {
          out += c;
        }
    }
  }
  return out;
}

// "x0.91 [0.88, 0.94], p = 0.0012".
std::string figures(const Decision& decision) {
  std::string text = ratio_text(decision.ratio);
  const std::string interval = interval_text(decision);
  if (!interval.empty()) text += " " + interval;
  if (decision.p_value) {
    char p[32];
    std::snprintf(p, sizeof p, *decision.p_value < 0.0001 ? ", p < 0.0001" : ", p = %.4f",
                  *decision.p_value);
    text += p;
  }
  return text;
}

struct Case {
  std::string classname;
  std::string name;
  Decision decision;
};

std::string case_text(const Case& c) {
  std::string text =
      "  <testcase classname=\"" + c.classname + "\" name=\"" + escaped(c.name) + "\"";
  const std::string what = std::string(change_name(c.decision.change)) + ": " + figures(c.decision);
  switch (c.decision.change) {
    case Change::slower:
      return text + ">\n    <failure message=\"" + escaped(what) + "\"/>\n  </testcase>\n";
    case Change::cannot_tell:
      return text + ">\n    <skipped message=\"" + escaped(what) + "\"/>\n  </testcase>\n";
    case Change::same:
    case Change::faster:
      break;
  }
  return text + "/>\n";
}

}  // namespace

std::string junit_report(const std::string& suite, const std::vector<RunFile>& runs,
                         const Changes& changes) {
  const RunChanges& later = changes.runs.at(1);
  std::vector<Case> cases;
  const std::vector<std::string> keywords = compared_keywords(runs);
  for (size_t k = 0; k < keywords.size(); ++k) {
    if (later.tests[k]) {
      cases.push_back({"tarvelin.test", printable(keywords[k], LONGEST_NAME), *later.tests[k]});
    }
  }
  if (later.total_3d) cases.push_back({"tarvelin.total", "3D total", *later.total_3d});
  if (later.total_2d) cases.push_back({"tarvelin.total", "2D total", *later.total_2d});
  int failures = 0;
  int skipped = 0;
  for (const Case& c : cases) {
    failures += c.decision.change == Change::slower;
    skipped += c.decision.change == Change::cannot_tell;
  }
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"" +
                     escaped(suite) + "\" tests=\"" + std::to_string(cases.size()) +
                     "\" failures=\"" + std::to_string(failures) + "\" skipped=\"" +
                     std::to_string(skipped) + "\" errors=\"0\">\n";
  for (const Case& c : cases) text += case_text(c);
  return text + "</testsuite>\n";
}

void write_junit_report(const std::string& path, const std::string& text) {
  ReplacementFile file;
  if (!open_replacement(&file, path.c_str())) {
    throw std::runtime_error("cannot write the JUnit report " + printable(path) + ": " +
                             std::strerror(errno));
  }
  std::fwrite(text.data(), 1, text.size(), file.stream);
  if (const char* step = commit_replacement(&file)) {
    throw std::runtime_error("cannot write the JUnit report " + printable(path) + " (" + step +
                             "): " + std::strerror(errno));
  }
}
