// The decisions of a comparison as a JUnit XML report, which CI systems
// show as a test run: one testcase per row (each test and each total),
// failing where it was decided slower and skipped, with the reason, where
// it cannot be told.
#pragma once

#include <string>
#include <vector>

#include "compare/run_changes.h"
#include "compare/run_file.h"

// The report's text: a <testsuite> named `suite` with a <testcase> per row
// the table decided (classname "tarvelin.test" or "tarvelin.total", name
// the keyword or "3D total"/"2D total"), in the table's order; a slower row
// holds a <failure>, a row that cannot be told a <skipped>, each with a
// message that gives the decision as the table's cell does: the ratio, its
// interval and the claim (claim_text: the corrected p-value of a change,
// why one cannot tell). `runs` and `changes` are a comparison of two
// runs (the second decided against the first).
std::string junit_report(const std::string& suite, const std::vector<RunFile>& runs,
                         const Changes& changes);

// Writes it to `path`, replacing the file only once complete; throws
// std::runtime_error saying why it could not.
void write_junit_report(const std::string& path, const std::string& text);
