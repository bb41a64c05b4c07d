// The checks of a run's verdict on recorded values: one case per rule at
// its threshold, the last value that passes and the first that does not.
#include <gtest/gtest.h>

#include <tuple>

#include "report/run_verdict.h"

namespace {

std::vector<std::string> kinds(const RunVerdict& verdict) {
  std::vector<std::string> found;
  for (const Finding& finding : verdict.findings) found.push_back(finding.kind);
  return found;
}

using Kinds = std::vector<std::string>;

TEST(VerdictPictures, DifferingAndUncheckedTimedTestsAreFindingsAndNoCheckIsNotJudged) {
  PictureVerdict verdicts[TEST_COUNT] = {};
  verdicts[test_id::points].state = PictureVerdict::ok;
  verdicts[test_id::points].passes_checked = 1;
  // A test left out has a reason of its own; only the timed ones count.
  verdicts[test_id::put_copy_val_half].reason = "left out";
  RunVerdict all_ok;
  check_pictures(verdicts, {test_id::points}, true, all_ok);
  EXPECT_TRUE(all_ok.trusted() && all_ok.not_judged.empty());

  verdicts[test_id::points].state = PictureVerdict::differs;
  verdicts[test_id::points].share_beyond = 0.02345;
  verdicts[test_id::points].channel_threshold = 12;
  RunVerdict differing;
  check_pictures(verdicts, {test_id::points}, true, differing);
  ASSERT_EQ(kinds(differing), Kinds{finding_kind::PICTURES_DIFFER});
  EXPECT_EQ(differing.findings[0].tests, std::vector<TestId>{test_id::points});
  EXPECT_NE(differing.findings[0].text.find("Points 2.345% of pixels beyond 12"),
            std::string::npos);

  // One timed test of three without its reference is enough, and each
  // reason is named once with its tests.
  verdicts[test_id::points].state = PictureVerdict::ok;
  verdicts[test_id::lines_fog].reason = "no reference refs/lines_fog.png";
  verdicts[test_id::lines].reason = "no reference refs/lines.png";
  verdicts[test_id::wire_frame].reason = "no reference refs/lines.png";
  RunVerdict unchecked;
  check_pictures(verdicts, {test_id::lines, test_id::lines_fog, test_id::points}, true, unchecked);
  ASSERT_EQ(kinds(unchecked), Kinds{finding_kind::PICTURES_UNCHECKED});
  EXPECT_EQ(unchecked.findings[0].tests, (std::vector<TestId>{test_id::lines, test_id::lines_fog}));
  const std::string named =
      std::string("of 2 timed tests could not be checked: ") +
      test_catalogue[test_id::lines].title + " (no reference refs/lines.png); " +
      test_catalogue[test_id::lines_fog].title + " (no reference refs/lines_fog.png); ";
  EXPECT_NE(unchecked.findings[0].text.find(named), std::string::npos)
      << unchecked.findings[0].text;

  for (const auto& [checks_wanted, timed, why] :
       {std::tuple{false, std::vector<TestId>{test_id::lines}, "checking turned off (-nocheck)"},
        std::tuple{true, std::vector<TestId>{}, "no test was timed"}}) {
    const PictureVerdict unchecked_all[TEST_COUNT] = {};
    RunVerdict none;
    check_pictures(unchecked_all, timed, checks_wanted, none);
    EXPECT_TRUE(none.trusted());
    ASSERT_EQ(none.not_judged.size(), 1u);
    EXPECT_EQ(none.not_judged[0].why, why);
  }
}

TEST(VerdictGlAnswers, EmptyStringsAndImpossibleDepthsAreFindings) {
  EnvironmentInfo info;
  info.strings_captured = true;
  info.vendor_string = "Mesa";
  info.renderer_string = "llvmpipe";
  info.version_string = "2.1 Mesa";
  info.red_bits_3d = info.green_bits_3d = info.blue_bits_3d = 8;
  info.red_bits_2d = info.green_bits_2d = info.blue_bits_2d = 8;
  info.depth_bits_3d = MAX_PLAUSIBLE_BITS;  // the last plausible value
  const std::vector<TestId> both = {test_id::lines, test_id::put_copy};
  RunVerdict sound;
  check_gl_answers(info, both, sound);
  EXPECT_TRUE(sound.trusted() && sound.not_judged.empty());

  // Each string alone, empty or absent, is a finding.
  for (std::optional<std::string> EnvironmentInfo::*field :
       {&EnvironmentInfo::vendor_string, &EnvironmentInfo::renderer_string,
        &EnvironmentInfo::version_string}) {
    for (const std::optional<std::string>& gone :
         {std::optional<std::string>(""), std::optional<std::string>()}) {
      EnvironmentInfo unnamed = info;
      unnamed.*field = gone;
      RunVerdict verdict;
      check_gl_answers(unnamed, both, verdict);
      EXPECT_EQ(kinds(verdict), Kinds{finding_kind::GL_UNIDENTIFIED});
    }
  }
  EnvironmentInfo none = info;
  none.vendor_string = none.renderer_string = none.version_string = "";
  RunVerdict nameless;
  check_gl_answers(none, both, nameless);
  EXPECT_NE(nameless.findings[0].text.find("no vendor, renderer or version string"),
            std::string::npos);

  // The first impossible depth of each kind, and a 2D colour of no bits
  // only where a 2D test was timed.
  EnvironmentInfo deep = info;
  deep.depth_bits_3d = MAX_PLAUSIBLE_BITS + 1;
  deep.accum_red_bits = -1;
  deep.red_bits_2d = 0;
  RunVerdict impossible;
  check_gl_answers(deep, both, impossible);
  ASSERT_EQ(kinds(impossible), Kinds{finding_kind::IMPOSSIBLE_BIT_DEPTHS});
  EXPECT_NE(impossible.findings[0].text.find("(3D DEPTH 33, 3D ACCUM_RED -1, 2D RED 0)"),
            std::string::npos)
      << impossible.findings[0].text;
  RunVerdict only_3d;
  deep.depth_bits_3d = 24;
  deep.accum_red_bits = 0;
  check_gl_answers(deep, {test_id::lines}, only_3d);
  EXPECT_TRUE(only_3d.trusted());

  EnvironmentInfo unread;
  RunVerdict not_read;
  check_gl_answers(unread, {}, not_read);
  EXPECT_TRUE(not_read.trusted());
  EXPECT_EQ(not_read.not_judged.size(), 1u);
}

TEST(VerdictRenderer, SoftwareByNameOrByWhatTheWindowSystemSaysAndAGpuBesideIsNamed) {
  for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                           "Mesa DRI swrast", "Google SwiftShader", "GDI Generic"}) {
    EXPECT_TRUE(is_software_renderer(name)) << name;
  }
  for (const char* name :
       {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce RTX 3060/PCIe/SSE2",
        "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)"}) {
    EXPECT_FALSE(is_software_renderer(name)) << name;
  }
  const auto judge = [](std::optional<std::string> renderer, GlAcceleration acceleration,
                        std::vector<std::string> gpus = {}) {
    RunVerdict verdict;
    check_renderer(renderer, acceleration, GlPlatform::egl_surfaceless, gpus, verdict);
    return verdict;
  };
  // The string alone, the window system alone (a GPU's name on the CPU),
  // and the string as the second opinion where the window system says
  // hardware.
  for (const auto& [renderer, acceleration] :
       {std::pair{"llvmpipe", GlAcceleration::unknown},
        std::pair{"NVIDIA GeForce RTX 4090", GlAcceleration::software},
        std::pair{"llvmpipe", GlAcceleration::hardware}}) {
    const RunVerdict verdict = judge(std::string(renderer), acceleration);
    ASSERT_EQ(kinds(verdict), Kinds{finding_kind::SOFTWARE_RENDERER}) << renderer;
    EXPECT_EQ(verdict.findings[0].text.find("EGL lists"), std::string::npos);
  }
  EXPECT_NE(judge(std::string("NVIDIA GeForce RTX 4090"), GlAcceleration::software)
                .findings[0]
                .text.find("EGL reports a software renderer, whatever its string \"NVIDIA "
                           "GeForce RTX 4090\" says"),
            std::string::npos);
  EXPECT_NE(
      judge(std::string("llvmpipe"), GlAcceleration::unknown, {"EGL device 0 /dev/dri/renderD128"})
          .findings[0]
          .text.find("(EGL device 0 /dev/dri/renderD128): measure it with -offscreen "
                     "-device N"),
      std::string::npos);
  for (GlAcceleration acceleration : {GlAcceleration::unknown, GlAcceleration::hardware}) {
    EXPECT_TRUE(judge(std::string("AMD Radeon RX 6600"), acceleration).trusted());
    EXPECT_TRUE(judge(std::nullopt, acceleration).trusted());
  }
}

TEST(VerdictHooks, AHookInEffectIsAFindingThatNamesIt) {
  RunVerdict none;
  check_hooks({}, none);
  EXPECT_TRUE(none.trusted());
  RunVerdict set;
  check_hooks({"TARVELIN_SLOW_TEST=points", "TARVELIN_FAULT=fog_off"}, set);
  ASSERT_EQ(kinds(set), Kinds{finding_kind::TEST_HOOKS});
  EXPECT_NE(set.findings[0].text.find("(TARVELIN_SLOW_TEST=points, TARVELIN_FAULT=fog_off)"),
            std::string::npos);
}

TEST(VerdictDisplay, SwapsAtARefreshPeriodOrVsyncAreCapped) {
  const auto judge = [](SwapIntervalState state, GlPlatform platform, std::optional<double> swap) {
    RunVerdict verdict;
    check_display(state, platform, swap, verdict);
    return verdict;
  };
  const auto zero = SwapIntervalState::zero;
  // 16.7 ms a swap is 60 Hz, and so is a period 2.99% longer, but not one 3.01% longer.
  EXPECT_EQ(kinds(judge(zero, GlPlatform::glx, 0.0167)), Kinds{finding_kind::DISPLAY_CAPPED});
  EXPECT_EQ(kinds(judge(zero, GlPlatform::glx, 1.0299 / 60)), Kinds{finding_kind::DISPLAY_CAPPED});
  EXPECT_TRUE(judge(zero, GlPlatform::glx, 1.0301 / 60).trusted());
  EXPECT_TRUE(judge(zero, GlPlatform::glx, 0.0002).trusted());
  EXPECT_TRUE(judge(zero, GlPlatform::egl_surfaceless, 0.0167).trusted());
  EXPECT_EQ(kinds(judge(SwapIntervalState::driver_by_request, GlPlatform::glx, 0.0002)),
            Kinds{finding_kind::DISPLAY_CAPPED});
  // Without the swap test only an interval of 0 rules capping out.
  EXPECT_EQ(
      judge(SwapIntervalState::driver_no_control, GlPlatform::glx, std::nullopt).not_judged.size(),
      1u);
  EXPECT_TRUE(judge(zero, GlPlatform::glx, std::nullopt).not_judged.empty());
}

TEST(VerdictSteadiness, VariationAndASteadySlowdownNeedThreePasses) {
  const auto judge = [](std::vector<std::vector<double>> series) {
    std::vector<TestPasses> tests;
    for (size_t i = 0; i < series.size(); ++i) {
      tests.push_back({static_cast<TestId>(i), series[i]});
    }
    RunVerdict verdict;
    check_steadiness(tests, static_cast<int>(series[0].size()), verdict);
    return verdict;
  };
  EXPECT_EQ(judge({{1.0, 2.0}}).not_judged.size(), 1u);
  // Coefficients of variation of 0.0995 and 0.1005.
  EXPECT_TRUE(judge({{1.0995, 0.9005, 1.0}, {1.0, 1.0, 1.0}}).trusted());
  const RunVerdict varying = judge({{1.1005, 0.8995, 1.0}, {1.0, 1.0, 1.0}});
  ASSERT_EQ(kinds(varying), Kinds{finding_kind::UNSTEADY_TESTS});
  EXPECT_EQ(varying.findings[0].tests, std::vector<TestId>{static_cast<TestId>(0)});
  // Totals rising 2% a pass: 6% over four passes, but not over three.
  EXPECT_EQ(kinds(judge({{1.0, 1.02, 1.04, 1.06}})), Kinds{finding_kind::SLOWED_DOWN});
  EXPECT_TRUE(judge({{1.0, 1.02, 1.04}}).trusted());
  // A rise as large but not steady.
  EXPECT_TRUE(judge({{1.0, 1.08, 0.98, 1.07, 1.01, 1.09}}).trusted());
}

TEST(VerdictClock, AMonotonicClockAdjustedBeyondSlewing) {
  const auto judge = [](uint64_t monotonic, uint64_t raw) {
    RunVerdict verdict;
    check_clock({1000, 1000 + monotonic, 5000, raw == 0 ? 0 : 5000 + raw}, verdict);
    return verdict;
  };
  EXPECT_TRUE(judge(1'001'000'000, 1'000'000'000).trusted());
  EXPECT_EQ(kinds(judge(1'001'100'000, 1'000'000'000)), Kinds{finding_kind::CLOCK_ADJUSTED});
  EXPECT_EQ(kinds(judge(998'900'000, 1'000'000'000)), Kinds{finding_kind::CLOCK_ADJUSTED});
  EXPECT_EQ(judge(1'000'000'000, 0).not_judged.size(), 1u);
}

TEST(VerdictLines, TrustedSaysWhatWasNotJudgedAndFindingsTakeALineEach) {
  RunVerdict verdict;
  EXPECT_EQ(verdict_lines(verdict), "Tarvelin verdict: trusted\n");
  verdict.not_judged = {{"steadiness between passes", "it needs 3 passes; this run had 1"},
                        {"clock", "none"}};
  EXPECT_EQ(verdict_lines(verdict),
            "Tarvelin verdict: trusted (not judged: steadiness between passes: it needs 3 "
            "passes; this run had 1; clock: none)\n");
  verdict.findings = {{finding_kind::CLOCK_ADJUSTED, "a", {}},
                      {finding_kind::SLOWED_DOWN, "b", {}}};
  EXPECT_EQ(verdict_lines(verdict), "Tarvelin verdict: a\nTarvelin verdict: b\n");
}

}  // namespace
