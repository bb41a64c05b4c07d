// The reference pictures and how a test's picture is judged against its
// reference: the same for a validation run and for a timed run's check.
#pragma once

#include <string>

#include "core/catalogue.h"
#include "core/run_results.h"
#include "core/test_window.h"
#include "report/picture_check.h"

// The folder of reference pictures, one "<keyword>.png" per test: the
// environment variable TARVELIN_REFERENCES when set, else the installed
// folder when the program runs from an installation, else the source
// tree's assets/reference.
std::string reference_folder();

// How far the test's picture may stray from its reference.
Tolerance tolerance_for(const TestInfo& test);

// The test's picture as its window shows it (TestWindow::read_back).
Picture read_test_picture(const TestWindow& window);

// Reads the test's reference from `folder` into `out`; false, with `error`
// saying why, when it is missing, cannot be read, or has another size than
// a test window.
bool read_reference(const std::string& folder, const TestInfo& test, Picture& out,
                    std::string& error);

// The picture judged against the reference by the test's tolerance: ok or
// differs, with the figures and the tolerance. The difference itself is
// left in `difference` when one is given.
PictureVerdict judge_picture(const TestInfo& test, const Picture& captured,
                             const Picture& reference, PictureDifference* difference = nullptr);
