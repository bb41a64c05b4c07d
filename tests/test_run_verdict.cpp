// The checks of a run's verdict on recorded values: one case per rule at
// its threshold, the last value that passes and the first that does not.
#include <gtest/gtest.h>

#include "report/run_verdict.h"

namespace {

std::vector<std::string> kinds(const RunVerdict& verdict) {
  std::vector<std::string> found;
  for (const Finding& finding : verdict.findings) found.push_back(finding.kind);
  return found;
}

using Kinds = std::vector<std::string>;

TEST(VerdictPictures, ADifferingPictureIsNamedAndNoCheckIsNotJudged) {
  PictureVerdict verdicts[TEST_COUNT] = {};
  verdicts[test_id::points].state = PictureVerdict::ok;
  verdicts[test_id::points].passes_checked = 1;
  RunVerdict all_ok;
  check_pictures(verdicts, all_ok);
  EXPECT_TRUE(all_ok.trusted() && all_ok.not_judged.empty());

  verdicts[test_id::points].state = PictureVerdict::differs;
  verdicts[test_id::points].share_beyond = 0.02345;
  verdicts[test_id::points].channel_threshold = 12;
  RunVerdict differing;
  check_pictures(verdicts, differing);
  ASSERT_EQ(kinds(differing), Kinds{finding_kind::PICTURES_DIFFER});
  EXPECT_EQ(differing.findings[0].tests, std::vector<TestId>{test_id::points});
  EXPECT_NE(differing.findings[0].text.find("Points 2.345% of pixels beyond 12"),
            std::string::npos);

  PictureVerdict unchecked[TEST_COUNT] = {};
  unchecked[0].reason = "checking turned off (-nocheck)";
  RunVerdict none;
  check_pictures(unchecked, none);
  ASSERT_EQ(none.not_judged.size(), 1u);
  EXPECT_EQ(none.not_judged[0].why, "checking turned off (-nocheck)");
}

TEST(VerdictRenderer, SoftwareRasterisersMeasureTheCpuAndAGpuBesideIsNamed) {
  for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                           "Mesa DRI swrast", "Google SwiftShader", "GDI Generic"}) {
    EXPECT_TRUE(is_software_renderer(name)) << name;
  }
  for (const char* name :
       {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce RTX 3060/PCIe/SSE2",
        "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)"}) {
    EXPECT_FALSE(is_software_renderer(name)) << name;
  }
  RunVerdict alone;
  check_renderer(std::string("llvmpipe"), GlPlatform::glx, {}, alone);
  ASSERT_EQ(kinds(alone), Kinds{finding_kind::SOFTWARE_RENDERER});
  EXPECT_EQ(alone.findings[0].text.find("EGL lists"), std::string::npos);
  RunVerdict beside_gpu;
  check_renderer(std::string("llvmpipe"), GlPlatform::glx, {"EGL device 0 /dev/dri/renderD128"},
                 beside_gpu);
  EXPECT_NE(beside_gpu.findings[0].text.find("(EGL device 0 /dev/dri/renderD128): measure it "
                                             "with -offscreen"),
            std::string::npos);
  RunVerdict gpu;
  check_renderer(std::string("AMD Radeon RX 6600"), GlPlatform::glx, {}, gpu);
  EXPECT_TRUE(gpu.trusted());
  RunVerdict unnamed;
  check_renderer(std::nullopt, GlPlatform::glx, {}, unnamed);
  EXPECT_EQ(unnamed.not_judged.size(), 1u);
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
