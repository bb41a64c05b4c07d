// Whether a run's numbers can be trusted: a few simple checks, each on
// values the run recorded, each stated with its rule and threshold here.
// A finding names what was seen and what the user can do; a check that
// could not look (too few passes, no swap test) says so, so that a run
// without findings is "trusted" only as far as the checks looked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/environment_info.h"
#include "core/pass_statistics.h"
#include "core/run_options.h"
#include "core/run_results.h"
#include "core/run_state.h"

// The kinds of finding, as the result files name them.
namespace finding_kind {
constexpr const char* PICTURES_DIFFER = "pictures_differ";
constexpr const char* SOFTWARE_RENDERER = "software_renderer";
constexpr const char* DISPLAY_CAPPED = "display_capped";
constexpr const char* UNSTEADY_TESTS = "unsteady_tests";
constexpr const char* SLOWED_DOWN = "slowed_down";
constexpr const char* CLOCK_ADJUSTED = "clock_adjusted";
constexpr const char* PICTURES_UNCHECKED = "pictures_unchecked";
constexpr const char* GL_UNIDENTIFIED = "gl_unidentified";
constexpr const char* IMPOSSIBLE_BIT_DEPTHS = "impossible_bit_depths";
constexpr const char* TEST_HOOKS = "test_hooks";
}  // namespace finding_kind

struct Finding {
  const char* kind;
  std::string text;           // one line: what was seen, what to do
  std::vector<TestId> tests;  // the tests it names; may be empty
};

// A check that could not look at this run, and why.
struct NotJudged {
  std::string what;
  std::string why;
};

struct RunVerdict {
  std::vector<Finding> findings;
  std::vector<NotJudged> not_judged;
  bool trusted() const { return findings.empty(); }
};

// What the checks look at beyond the settings and results.
struct VerdictInputs {
  const RunOptions& options;
  const RunResults& results;
  const EnvironmentInfo& info;
  int32_t swaps;  // swaps per pass of the swap test
  ClockReadings clock;
  std::vector<std::string> gpu_devices;  // EGL's devices that are not software, by name
  std::vector<std::string> hooks;        // the test hooks in effect, "NAME=value"
};

// --- The checks, each with its rule --------------------------------------

// Any picture that differed from its reference: the GL drew the test
// wrongly, so its time is the time of other work. A timed test whose
// picture no pass could check (no reference, a colour depth the
// references do not have) is a finding too, with its reason: nothing
// says its GL drew it. Not judged with checking turned off (-nocheck),
// which the user chose, or when no test was timed or checked.
void check_pictures(const PictureVerdict verdicts[TEST_COUNT], const std::vector<TestId>& timed,
                    bool checks_wanted, RunVerdict& verdict);

// What the GL said of itself must be something a GL can say before its
// scores mean anything: a vendor, renderer and version string that are not
// empty (an X server's indirect context that does not work answers none),
// and bit depths of the 3D and the 2D window, where a test of that window
// was timed, from 0 to MAX_PLAUSIBLE_BITS, each colour at least 1. Not
// judged when no 3D window read the strings.
constexpr int32_t MAX_PLAUSIBLE_BITS = 32;
void check_gl_answers(const EnvironmentInfo& info, const std::vector<TestId>& timed,
                      RunVerdict& verdict);

// The run measured the CPU: the window system says the renderer draws in
// software (GlAcceleration, whatever its string says, which a driver's
// settings can change), or the renderer string names a software rasteriser
// (one of SOFTWARE_RENDERERS, in any case). The finding also names GPUs
// that EGL lists, and how to measure them.
extern const char* const SOFTWARE_RENDERERS[];
bool is_software_renderer(const std::string& renderer);
bool measures_software(const EnvironmentInfo& info);
void check_renderer(const std::optional<std::string>& renderer, GlAcceleration acceleration,
                    GlPlatform platform, const std::vector<std::string>& gpu_devices,
                    RunVerdict& verdict);

// A test hook was in effect (core/test_hooks.h): the run did not measure
// the GL as it is.
void check_hooks(const std::vector<std::string>& hooks, RunVerdict& verdict);

// Frames capped by the display's refresh: the swap interval left to the
// driver on request (-vsync), or the swap test's median time per swap
// within DISPLAY_PERIOD_TOLERANCE of the period of one of
// DISPLAY_REFRESH_RATES. Not judged in a window whose swap interval could
// not be set to 0 when the swap test did not run. Off-screen nothing waits
// for a display.
constexpr double DISPLAY_REFRESH_RATES[] = {24, 25,  30,  48,  50,  60,  72,  75,  85,
                                            90, 100, 120, 144, 165, 170, 180, 240, 360};
constexpr double DISPLAY_PERIOD_TOLERANCE = 0.03;
void check_display(SwapIntervalState swap_interval, GlPlatform platform,
                   std::optional<double> seconds_per_swap, RunVerdict& verdict);

// With MIN_DECIDING_PASSES passes or more (core/pass_statistics.h, which
// also reckons both figures): the tests whose pass times have a
// coefficient of variation (sample standard deviation over the mean) above
// UNSTEADY_CV, and a run whose passes grew steadily slower: the
// least-squares line through the pass totals (the seconds of the tests
// timed in every pass) rises by more than SLOWDOWN_RISE of its first value
// with a correlation of at least SLOWDOWN_CORRELATION.
constexpr double UNSTEADY_CV = 0.10;
constexpr double SLOWDOWN_RISE = 0.05;
constexpr double SLOWDOWN_CORRELATION = 0.9;
struct TestPasses {
  TestId id;
  std::vector<double> seconds;  // in the order the passes ran
};
void check_steadiness(const std::vector<TestPasses>& tests, int passes, RunVerdict& verdict);

// The monotonic clock ran more than CLOCK_DRIFT_LIMIT faster or slower than
// the raw clock over the run: something adjusted it beyond NTP's slewing
// (at most 0.05%), and every time is off by as much.
constexpr double CLOCK_DRIFT_LIMIT = 0.001;
void check_clock(const ClockReadings& clock, RunVerdict& verdict);

// --- The verdict ---------------------------------------------------------

// Every check above on the run's values.
RunVerdict judge_run(const VerdictInputs& inputs);

// The summary lines of a batch run: "Tarvelin verdict: trusted" (with what
// was not judged in brackets), or each finding on a line of its own; the
// results window gives each line another `prefix`.
std::string verdict_lines(const RunVerdict& verdict, const char* prefix = "Tarvelin verdict: ");
