// What a ratio can claim in words: each reason a decision could not be
// made at its boundary of passes, the p-value as shown, and another setup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/claim_text.h"

namespace {

Decision decision(Change change, std::optional<double> p = std::nullopt, bool interval = false) {
  Decision d;
  d.change = change;
  d.ratio = 0.9;
  d.p_value = p;
  if (interval) {
    d.low = 0.8;
    d.high = 1.01;
  }
  return d;
}

std::string cannot_tell(size_t first, size_t later, bool interval = true) {
  return claim_text(decision(Change::cannot_tell, 0.5, interval), first, later, 5);
}

TEST(ClaimText, CannotTellSaysWhyFromThePassesOfBothSides) {
  EXPECT_EQ(cannot_tell(0, 5), "cannot tell: no passes recorded");
  EXPECT_EQ(cannot_tell(5, 0), "cannot tell: no passes recorded");
  EXPECT_EQ(cannot_tell(1, 1), "cannot tell: one pass each");
  EXPECT_EQ(cannot_tell(1, 2), "cannot tell: fewer than 4 passes");
  EXPECT_EQ(cannot_tell(3, 4), "cannot tell: fewer than 4 passes");
  EXPECT_EQ(cannot_tell(4, 3), "cannot tell: fewer than 4 passes");
  EXPECT_EQ(cannot_tell(4, 4), "cannot tell: interval reaches past ±5%");
  EXPECT_EQ(cannot_tell(4, 4, false), "cannot tell: no interval");
  EXPECT_EQ(claim_text(decision(Change::cannot_tell, 0.5, true), 9, 9, 2.5),
            "cannot tell: interval reaches past ±2.5%");
}

// The reason "fewer than 4 passes" holds as long as the decision on two
// runs' passes needs that many on each side.
TEST(ClaimText, TheFewestPassesNamedAreTheFewestATrimmedRatioTakes) {
  const auto passes = [](size_t n) {
    std::vector<double> values;
    for (size_t i = 0; i < n; ++i) values.push_back(1.0 + 0.1 * static_cast<double>(i));
    return values;
  };
  EXPECT_TRUE(trimmed_ratio(passes(INTERVAL_PASSES), passes(INTERVAL_PASSES), false));
  EXPECT_FALSE(trimmed_ratio(passes(INTERVAL_PASSES - 1), passes(INTERVAL_PASSES), false));
  EXPECT_FALSE(trimmed_ratio(passes(INTERVAL_PASSES), passes(INTERVAL_PASSES - 1), false));
}

TEST(ClaimText, AChangeGivesItsPValueNeverAtTheLevelItWasDecidedBelow) {
  EXPECT_EQ(claim_text(decision(Change::slower, 0.003), 5, 5, 5), "slower, p = 0.0030");
  EXPECT_EQ(claim_text(decision(Change::faster, 0.0001), 5, 5, 5), "faster, p = 0.0001");
  EXPECT_EQ(claim_text(decision(Change::faster, 0.0000999), 5, 5, 5), "faster, p < 0.0001");
  EXPECT_EQ(claim_text(decision(Change::slower, 0.04994), 5, 5, 5), "slower, p = 0.0499");
  EXPECT_EQ(claim_text(decision(Change::slower, 0.04996), 5, 5, 5), "slower, p < 0.05");
  EXPECT_EQ(claim_text(decision(Change::slower), 5, 5, 5), "slower");
  EXPECT_EQ(claim_text(decision(Change::same, 0.5, true), 1, 1, 5), "same");
}

TEST(ClaimText, AnotherSetupFollowsTheChangesName) {
  SetupDifference renderer;
  renderer.renderer = true;
  SetupDifference platform;
  platform.platform = true;
  EXPECT_EQ(claim_text(decision(Change::slower, 0.003), 5, 5, 5, renderer),
            "slower (other renderer), p = 0.0030");
  EXPECT_EQ(claim_text(decision(Change::cannot_tell), 1, 1, 5, platform),
            "cannot tell (other platform): one pass each");
  EXPECT_EQ(claim_text(decision(Change::same), 5, 5, 5, renderer), "same (other renderer)");
}

// An -ab session's rounds decide from three on, where two runs' passes need four.
TEST(ClaimText, RoundsOfASessionAreCountedAsSuch) {
  EXPECT_EQ(claim_text(decision(Change::cannot_tell), 2, 2, 5, {}, true),
            "cannot tell: fewer than 3 rounds");
  EXPECT_EQ(claim_text(decision(Change::cannot_tell), 1, 1, 5, {}, true), "cannot tell: one round");
  EXPECT_EQ(claim_text(decision(Change::cannot_tell, 0.5, true), 3, 3, 5, {}, true),
            "cannot tell: interval reaches past ±5%");
}

}  // namespace
