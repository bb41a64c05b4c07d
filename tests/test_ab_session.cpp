// tarvelin-compare -ab's own rules: its command line, when a session ends,
// the decisions of two sides' rounds and the JUnit report of them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "compare/ab_session.h"
#include "compare/junit_report.h"
#include "compare/lockstep.h"
#include "compare/paired_changes.h"

namespace {

std::string refusal(const std::vector<std::string>& words) {
  try {
    read_ab_arguments(words);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "";
}

TEST(AbArguments, SidesAreEnvWordsThenAProgramAndTheRestGoesToBoth) {
  const AbArguments args =
      read_ab_arguments({"GALLIUM_DRIVER=softpipe X=a=b", "LD_PRELOAD=lib.so ./tarvelin -nocheck",
                         "-rounds", "3", "-threshold", "2.5", "--", "-offscreen", "-quarter"});
  EXPECT_EQ(args.sides[0].environment,
            (std::vector<std::string>{"GALLIUM_DRIVER=softpipe", "X=a=b"}));
  EXPECT_TRUE(args.sides[0].program.empty());
  EXPECT_EQ(args.sides[1].program, (std::vector<std::string>{"./tarvelin", "-nocheck"}));
  EXPECT_EQ(*args.rounds, 3);
  EXPECT_EQ(args.threshold_percent, 2.5);
  EXPECT_EQ(args.tarvelin_options, (std::vector<std::string>{"-offscreen", "-quarter"}));
  EXPECT_EQ(read_ab_arguments({"", "", "-rounds", "50"}).rounds, 50);
  EXPECT_TRUE(read_ab_arguments({"", ""}).sides[0].environment.empty());
}

TEST(AbArguments, RefusesWhatCannotMakeASession) {
  EXPECT_NE(refusal({"A=1"}).find("two sides"), std::string::npos);
  EXPECT_NE(refusal({"1X=2", ""}).find("side A: \"1X=2\" sets no variable"), std::string::npos);
  for (const char* rounds : {"2", "51", "3.5", "+3", ""}) {
    EXPECT_NE(refusal({"", "", "-rounds", rounds}).find("expected a whole number from 3"),
              std::string::npos)
        << rounds;
  }
  EXPECT_NE(refusal({"", "", "-rounds"}).find("-rounds needs a value"), std::string::npos);
  EXPECT_NE(refusal({"", "", "-rounds", "4", "-budget", "60"}).find("give one"), std::string::npos);
  EXPECT_NE(refusal({"", "", "-threshold", "0"}).find("expected a number"), std::string::npos);
  EXPECT_NE(refusal({"", "", "-quarter"}).find("tarvelin's options go after --"),
            std::string::npos);
  EXPECT_NE(refusal({"", "", "--", "-quarter", "-loop", "5"})
                .find("-loop cannot go to the sides: the session decides the passes"),
            std::string::npos);
  EXPECT_NE(refusal({"", "", "--", "-json", "x"}).find("into -o DIR"), std::string::npos);
}

// Two sides' files of `rounds` rounds: "fast" the same on both, "slow" `factor`
// times longer on B, and whole totals.
std::vector<RunFile> sides(int rounds, double factor) {
  std::vector<RunFile> files(2);
  for (int s = 0; s < 2; ++s) {
    for (const char* keyword : {"fast", "slow"}) {
      TestResult test;
      test.keyword = keyword;
      test.score = 100.0;
      for (int r = 0; r < rounds; ++r) {
        const double seconds = 1.0 + 0.1 * r;  // the machine's swings, the same for both
        test.pass_seconds.push_back(s == 1 && keyword[0] == 's' ? seconds * factor : seconds);
      }
      files[s].places[keyword] = files[s].tests.size();
      files[s].tests.push_back(test);
    }
    files[s].total_3d = {100.0, std::nullopt, std::vector<double>(rounds, 100.0)};
  }
  return files;
}

TEST(PairedChanges, DecidesTheRowThatChangedAndNothingElse) {
  const Changes changes = decide_paired_changes(sides(3, 1.25), 5.0);
  ASSERT_TRUE(changes.paired);
  const RunChanges& b = changes.runs[1];
  EXPECT_EQ(b.tests[0]->change, Change::same);
  EXPECT_EQ(b.tests[1]->change, Change::slower);
  EXPECT_NEAR(b.tests[1]->ratio, 0.8, 1e-12);
  EXPECT_EQ(b.total_3d->change, Change::same);
  EXPECT_FALSE(b.total_2d);  // no total on either side
  EXPECT_TRUE(any_change(changes, Change::slower));
  // Two rounds decide nothing; the ratio shown is then the scores'.
  const Changes two = decide_paired_changes(sides(2, 1.25), 5.0);
  EXPECT_EQ(two.runs[1].tests[1]->change, Change::cannot_tell);
  EXPECT_EQ(two.runs[1].tests[1]->ratio, 1.0);
  EXPECT_FALSE(two.runs[1].tests[1]->low);
}

TEST(RoundsSoFar, KeepsTheTestsBothSidesTimedInEveryRound) {
  std::array<std::map<std::string, std::vector<double>>, 2> seconds;
  seconds[0] = {{"lines", {1, 1, 1}}, {"points", {1, 1, 1}}, {"stencil_buffer", {1, 1, 1}}};
  seconds[1] = {{"lines", {1, 1, 1}}, {"points", {1, 1}}, {"stencil_buffer", {1, 0, 1}}};
  std::array<std::array<std::vector<double>, 2>, 2> totals;
  totals[0] = {std::vector<double>{5, 5, 5}, std::vector<double>{5, 5}};
  totals[1] = {std::vector<double>{6, 6, 6}, std::vector<double>{6, 6, 6}};
  const std::vector<RunFile> runs = rounds_so_far(seconds, totals, 3);
  ASSERT_EQ(runs[1].tests.size(), 1u);
  EXPECT_EQ(runs[1].tests[0].keyword, "lines");
  EXPECT_EQ(runs[1].total_3d.pass_values.size(), 3u);
  EXPECT_FALSE(runs[0].total_2d.total);  // a round without it
}

TEST(SessionStop, RoundsOrDecidedOrBudget) {
  AbArguments fixed;
  fixed.rounds = 4;
  const Changes none;
  EXPECT_EQ(session_stop(fixed, 3, none, 0, 0), "");
  EXPECT_EQ(session_stop(fixed, 4, none, 0, 0), "4 rounds done");

  AbArguments open;
  open.budget_seconds = 100;
  const Changes decided = decide_paired_changes(sides(3, 1.25), 5.0);
  const Changes undecided = decide_paired_changes(sides(2, 1.25), 5.0);
  EXPECT_EQ(session_stop(open, 2, decided, 0, 0), "");
  EXPECT_EQ(session_stop(open, 3, decided, 0, 0), "every test and total decided");
  EXPECT_EQ(session_stop(open, 3, undecided, 60, 40), "");
  EXPECT_EQ(session_stop(open, 3, undecided, 60, 41), "budget of 100 s spent");
  EXPECT_EQ(session_stop(open, MOST_ROUNDS, undecided, 0, 0),
            "50 rounds, as many as a result file keeps");
  EXPECT_EQ(session_stop(open, 3, none, 0, 0), "");  // nothing decided yet
}

TEST(JunitReport, FailsTheSlowerRowsAndSkipsWhatCannotBeTold) {
  std::vector<RunFile> runs = sides(3, 1.25);
  Changes changes = decide_paired_changes(runs, 5.0);
  runs[0].tests[0].keyword = runs[1].tests[0].keyword = "a<&\"b";
  changes.runs[1].total_3d->change = Change::cannot_tell;
  const std::string xml = junit_report("session", runs, changes);
  EXPECT_NE(xml.find("tests=\"3\" failures=\"1\" skipped=\"1\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("name=\"a&lt;&amp;&quot;b\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("name=\"slow\">\n    <failure message=\"x0.80 [0.80, 0.80] slower, p &lt; "
                     "0.0001\"/>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("name=\"3D total\">\n    <skipped message=\"x1.00 [1.00, 1.00] cannot tell: "),
            std::string::npos)
      << xml;
}

}  // namespace
