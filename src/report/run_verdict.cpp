#include "report/run_verdict.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

#include "core/pass_statistics.h"
#include "report/scoring.h"
#include "report/statistics.h"

namespace {

std::string percent(double share, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f%%", decimals, 100.0 * share);
  return text;
}

// "Lines 14.2%, Points 11.0%": each test's title and its figure.
template <class Figure>
std::string named_figures(const std::vector<TestId>& tests, Figure figure) {
  std::string text;
  for (TestId id : tests) {
    if (!text.empty()) text += ", ";
    text += test_catalogue[id].title + std::string(" ") + figure(id);
  }
  return text;
}

std::string count_of(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "Lines Fog (no reference .../lines_fog.png); Lines, Points (the window has
// 5-6-5-bit colour; ...)": the tests by their reasons, each reason once, in
// the order the tests come.
std::string grouped_by_reason(const std::vector<TestId>& tests,
                              const PictureVerdict verdicts[TEST_COUNT]) {
  std::vector<std::pair<std::string, std::vector<TestId>>> groups;
  for (TestId id : tests) {
    const std::string& reason = verdicts[id].reason;
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const auto& known) { return known.first == reason; });
    if (group == groups.end()) group = groups.insert(groups.end(), {reason, {}});
    group->second.push_back(id);
  }
  std::string text;
  for (const auto& [reason, ids] : groups) {
    if (!text.empty()) text += "; ";
    for (TestId id : ids)
      text += std::string(id == ids.front() ? "" : ", ") + test_catalogue[id].title;
    text += " (" + (reason.empty() ? std::string("no check ran") : reason) + ")";
  }
  return text;
}

}  // namespace

void check_pictures(const PictureVerdict verdicts[TEST_COUNT], const std::vector<TestId>& timed,
                    bool checks_wanted, RunVerdict& verdict) {
  if (!checks_wanted) {
    verdict.not_judged.push_back({"pictures", "checking turned off (-nocheck)"});
    return;
  }
  std::vector<TestId> differing;
  bool any_checked = false;
  for (const TestInfo& test : test_catalogue) {
    any_checked |= verdicts[test.id].passes_checked > 0;
    if (verdicts[test.id].state == PictureVerdict::differs) differing.push_back(test.id);
  }
  if (timed.empty() && !any_checked) {
    verdict.not_judged.push_back({"pictures", "no test was timed"});
    return;
  }
  if (!differing.empty()) {
    verdict.findings.push_back(
        {finding_kind::PICTURES_DIFFER,
         "the pictures of " + count_of(differing.size(), "test", "tests") +
             " differ from their references: " +
             named_figures(differing,
                           [&](TestId id) {
                             return percent(verdicts[id].share_beyond, 3) + " of pixels beyond " +
                                    std::to_string(verdicts[id].channel_threshold);
                           }) +
             "; their scores time drawing that went wrong: look at the pictures with -validate "
             "FOLDER",
         differing});
  }
  std::vector<TestId> unchecked;
  for (TestId id : timed) {
    if (verdicts[id].passes_checked == 0) unchecked.push_back(id);
  }
  if (unchecked.empty()) return;
  verdict.findings.push_back(
      {finding_kind::PICTURES_UNCHECKED,
       "the pictures of " + count_of(unchecked.size(), "timed test", "timed tests") +
           " could not be checked: " + grouped_by_reason(unchecked, verdicts) +
           "; whether the GL drew them right is not known, nor what their scores timed",
       unchecked});
}

void check_display(SwapIntervalState swap_interval, GlPlatform platform,
                   std::optional<double> seconds_per_swap, RunVerdict& verdict) {
  if (platform != GlPlatform::glx) return;
  if (swap_interval == SwapIntervalState::driver_by_request) {
    verdict.findings.push_back({finding_kind::DISPLAY_CAPPED,
                                "the swap interval was left to the driver (-vsync): the 3D "
                                "frames may have waited for the display's refresh; run "
                                "without -vsync",
                                {}});
    return;
  }
  if (!seconds_per_swap) {
    if (swap_interval != SwapIntervalState::zero) {
      verdict.not_judged.push_back(
          {"capping by the display",
           "the swap interval could not be set to 0 and the swap test did not run"});
    }
    return;
  }
  for (double rate : DISPLAY_REFRESH_RATES) {
    if (std::fabs(*seconds_per_swap * rate - 1.0) <= DISPLAY_PERIOD_TOLERANCE) {
      char text[320];
      std::snprintf(text, sizeof text,
                    "the swap test took %.3f ms a swap, the refresh period of a %g Hz display: "
                    "the 3D tests were capped by the display; switch vertical sync off (for "
                    "Mesa: vblank_mode=0) or measure off-screen (-offscreen)",
                    1000.0 * *seconds_per_swap, rate);
      verdict.findings.push_back({finding_kind::DISPLAY_CAPPED, text, {}});
      return;
    }
  }
}

void check_steadiness(const std::vector<TestPasses>& tests, int passes, RunVerdict& verdict) {
  if (passes < MIN_DECIDING_PASSES) {
    verdict.not_judged.push_back(
        {"steadiness between passes", "it needs " + std::to_string(MIN_DECIDING_PASSES) +
                                          " passes; this run had " + std::to_string(passes)});
    return;
  }
  std::vector<TestId> unsteady;
  std::vector<double> variation(TEST_COUNT, 0.0);
  std::vector<double> totals(static_cast<size_t>(passes), 0.0);
  for (const TestPasses& test : tests) {
    // Fewer than 2 values or none above 0 show nothing unsteady.
    variation[test.id] = coefficient_of_variation(test.seconds).value_or(0.0);
    if (variation[test.id] > UNSTEADY_CV) unsteady.push_back(test.id);
    for (size_t pass = 0; pass < totals.size() && pass < test.seconds.size(); ++pass) {
      totals[pass] += test.seconds[pass];
    }
  }
  if (!unsteady.empty()) {
    verdict.findings.push_back(
        {finding_kind::UNSTEADY_TESTS,
         count_of(unsteady.size(), "test", "tests") + " varied by more than " +
             percent(UNSTEADY_CV, 0) + " between passes (coefficient of variation): " +
             named_figures(unsteady, [&](TestId id) { return percent(variation[id], 1); }) +
             "; their scores are uncertain: stop other work on the machine, or run more passes",
         unsteady});
  }
  const Trend trend = trend_of(totals);
  if (trend.rise > SLOWDOWN_RISE && trend.correlation >= SLOWDOWN_CORRELATION) {
    char text[320];
    std::snprintf(text, sizeof text,
                  "the machine slowed down during the run: its passes grew steadily slower, by "
                  "%.1f%% from the first to the last (least-squares line over %d passes, "
                  "correlation %.2f); let it cool down and stop background work before "
                  "comparing runs",
                  100.0 * trend.rise, passes, trend.correlation);
    verdict.findings.push_back({finding_kind::SLOWED_DOWN, text, {}});
  }
}

void check_clock(const ClockReadings& clock, RunVerdict& verdict) {
  if (clock.start_raw_ns == 0 || clock.end_raw_ns <= clock.start_raw_ns) {
    verdict.not_judged.push_back({"clock", "no raw hardware clock to compare with"});
    return;
  }
  const double raw = static_cast<double>(clock.end_raw_ns - clock.start_raw_ns);
  const double monotonic = static_cast<double>(clock.end_ns - clock.start_ns);
  const double drift = (monotonic - raw) / raw;
  if (std::fabs(drift) <= CLOCK_DRIFT_LIMIT) return;
  verdict.findings.push_back(
      {finding_kind::CLOCK_ADJUSTED,
       "the monotonic clock ran " + percent(std::fabs(drift), 3) + (drift > 0 ? " fast" : " slow") +
           " against the raw hardware clock: it was adjusted during the run, and every time is "
           "off by as much; run again once the clock is steady",
       {}});
}

namespace {

// The pass slots in the order the passes ran: from more than TIME_SLOTS
// passes on, the oldest kept pass is the slot the next pass would use.
std::vector<double> passes_in_order(const RunOptions& options, const RunResults& results,
                                    TestId id) {
  const int n = counted_slots(options.loops);
  const int first = options.loops > TIME_SLOTS ? results.pass_index : 0;
  std::vector<double> seconds;
  for (int i = 0; i < n; ++i) seconds.push_back(results.test_times[id][(first + i) % TIME_SLOTS]);
  return seconds;
}

}  // namespace

RunVerdict judge_run(const VerdictInputs& inputs) {
  const RunOptions& options = inputs.options;
  std::optional<double> seconds_per_swap;
  std::vector<TestPasses> timed;
  std::vector<TestId> timed_ids;
  for (const TestInfo& test : test_catalogue) {
    const TestSummary summary = summarize_test(options, inputs.results, test.id);
    if (summary.status != TestStatus::timed) continue;
    timed.push_back({test.id, passes_in_order(options, inputs.results, test.id)});
    timed_ids.push_back(test.id);
    if (test.id == test_id::swap_buffer && inputs.swaps > 0) {
      seconds_per_swap = *summary.median_seconds / inputs.swaps;
    }
  }
  RunVerdict verdict;
  check_gl_answers(inputs.info, timed_ids, verdict);
  check_pictures(inputs.results.verdicts, timed_ids, options.check_pictures, verdict);
  check_renderer(inputs.info.renderer_string, inputs.info.acceleration, inputs.info.gl_platform,
                 inputs.gpu_devices, verdict);
  check_display(inputs.info.swap_interval, inputs.info.gl_platform, seconds_per_swap, verdict);
  check_steadiness(timed, counted_slots(options.loops), verdict);
  check_clock(inputs.clock, verdict);
  check_hooks(inputs.hooks, verdict);
  return verdict;
}

std::string verdict_lines(const RunVerdict& verdict, const char* prefix) {
  if (!verdict.trusted()) {
    std::string lines;
    for (const Finding& finding : verdict.findings) lines += prefix + finding.text + "\n";
    return lines;
  }
  std::string line = prefix + std::string("trusted");
  for (size_t i = 0; i < verdict.not_judged.size(); ++i) {
    line += (i == 0 ? " (not judged: " : "; ") + verdict.not_judged[i].what + ": " +
            verdict.not_judged[i].why;
  }
  return line + (verdict.not_judged.empty() ? "\n" : ")\n");
}
