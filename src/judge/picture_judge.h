// The one judge of the tests' pictures, for a validation run and a timed
// run's check alike: it reads a test's picture back from its window, finds
// the test's reference picture and tolerance, judges the picture and
// records the verdict in the run's results. What else a run does with a
// judgement is its policy's: a validation run writes pictures and a summary
// for a person (validation.h), a timed run tells a picture that differs
// under the test's line (picture_checks.h).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/run_results.h"
#include "core/test_window.h"
#include "judge/picture_compare.h"

// The folder of reference pictures, one "<keyword>.png" per test: the
// environment variable TARVELIN_REFERENCES when set, else the installed
// folder when the program runs from an installation, else the source
// tree's assets/reference.
std::string reference_folder();

// The test's picture as its window shows it (TestWindow::read_back).
Picture read_test_picture(const TestWindow& window);

// What judging one picture found.
struct Judgement {
  // ok or differs, with the figures, the tolerance and the source; or
  // not_checked with the reason (and no_reference where the reference is
  // what is missing).
  PictureVerdict verdict;
  Picture captured;                    // the picture judged; empty when not checked
  const Picture* reference = nullptr;  // its reference; null when not checked
  Tolerance tolerance;                 // the test's
};

class PictureJudge {
 public:
  // The reference folder (reference_folder()), found on first use.
  const std::string& folder();

  // Judges the test's picture in `window`, `source` naming which picture it
  // is. Not checked, with the reason, when the window has other than 8 bits
  // a colour, as every reference has (nothing is read back then), or when
  // the test's reference is missing, unreadable or of another size than a
  // test window; else ok or differs by the test's tolerance. Each
  // reference is read once and kept, as is why it cannot be had.
  Judgement judge(const TestInfo& test, const TestWindow& window, const EnvironmentInfo& info,
                  PictureSource source);

  // Records one pass's verdict: a picture checked is added to what earlier
  // passes found (RunResults::record_picture); a reason for not checking
  // is kept only while no pass has checked the test and no reason stands.
  static void record(RunResults& results, TestId id, const PictureVerdict& verdict);
  // A verdict of not checked, for the reason given.
  static PictureVerdict not_checked(std::string reason);

 private:
  // The test's reference; null, with `trouble` saying why, when it cannot
  // be had.
  const Picture* reference(const TestInfo& test, std::string& trouble);

  std::optional<std::string> folder_;
  std::array<std::optional<Picture>, TEST_COUNT> references_;
  std::array<std::string, TEST_COUNT> troubles_;
};
