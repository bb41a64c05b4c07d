#include "compare/junit_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "compare/claim_text.h"
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

// As the table's cell gives the decision: "x0.91 [0.88, 0.94] slower, p =
// 0.0012", "x0.98 [0.93, 1.04] cannot tell: interval reaches past ±5%".
std::string claim(const Decision& decision, size_t passes_first, size_t passes_later,
                  const Changes& changes) {
  std::string text = ratio_text(decision.ratio);
  const std::string interval = interval_text(decision);
  if (!interval.empty()) text += " " + interval;
  return text + " " +
         claim_text(decision, passes_first, passes_later, changes.threshold_percent, {},
                    changes.paired);
}

struct Case {
  std::string classname;
  std::string name;
  Decision decision;
  std::string claim;
};

std::string case_text(const Case& c) {
  std::string text =
      "  <testcase classname=\"" + c.classname + "\" name=\"" + escaped(c.name) + "\"";
  const std::string& what = c.claim;
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
  const auto add = [&](const char* classname, const std::string& name,
                       const std::optional<Decision>& decision, size_t passes_first,
                       size_t passes_later) {
    if (!decision) return;
    cases.push_back(
        {classname, name, *decision, claim(*decision, passes_first, passes_later, changes)});
  };
  const std::vector<std::string> keywords = compared_keywords(runs);
  for (size_t k = 0; k < keywords.size(); ++k) {
    const TestResult* first = runs[0].find(keywords[k]);
    const TestResult* test = runs[1].find(keywords[k]);
    add("tarvelin.test", printable(keywords[k], LONGEST_NAME), later.tests[k],
        first ? first->pass_seconds.size() : 0, test ? test->pass_seconds.size() : 0);
  }
  add("tarvelin.total", "3D total", later.total_3d, runs[0].total_3d.pass_values.size(),
      runs[1].total_3d.pass_values.size());
  add("tarvelin.total", "2D total", later.total_2d, runs[0].total_2d.pass_values.size(),
      runs[1].total_2d.pass_values.size());
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
