// The JSON result file's account of where a run drew, and the scores'
// intervals it writes as tarvelin-compare reads them back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "compare/run_file.h"
#include "core/environment_info.h"
#include "core/run_options.h"
#include "core/run_results.h"
#include "report/result_files.h"

namespace {

TEST(ResultsJson, EnvironmentNamesThePlatformAndTheDevice) {
  const struct {
    GlPlatform platform;
    std::optional<std::string> drm_file;
    const char* name;
  } cases[] = {
      {GlPlatform::egl_device, "/dev/dri/renderD128", "egl-device"},
      {GlPlatform::egl_device, std::nullopt, "egl-device"},
      {GlPlatform::egl_surfaceless, std::nullopt, "egl-surfaceless"},
      {GlPlatform::glx, std::nullopt, "glx"},
  };
  for (const auto& c : cases) {
    EnvironmentInfo info;
    info.gl_platform = c.platform;
    info.drm_file = c.drm_file;
    const auto environment = nlohmann::json::parse(
        results_json(RunOptions{}, info, RunResults{}, RunRecord{}, nullptr))["environment"];
    EXPECT_EQ(environment["platform"], c.name);
    EXPECT_EQ(environment["device"], c.drm_file ? nlohmann::json(*c.drm_file) : nlohmann::json());
  }
}

// Five passes of every test, each a little slower than the one before.
std::string five_pass_json() {
  RunOptions options;
  options.loops = 5;
  RunResults results;
  for (int id = 0; id < TEST_COUNT; ++id) {
    for (int pass = 0; pass < 5; ++pass) results.test_times[id][pass] = 1.0 + 0.02 * pass * pass;
  }
  return results_json(options, EnvironmentInfo{}, results, RunRecord{}, nullptr);
}

TEST(ResultsJson, EachScoresIntervalReadsBackAsWritten) {
  const std::string text = five_pass_json();
  const auto tests = nlohmann::json::parse(text)["tests"];
  const RunFile run = parse_run_file(text, "r.json");
  ASSERT_EQ(run.tests.size(), tests.size());
  for (size_t i = 0; i < tests.size(); ++i) {
    SCOPED_TRACE(run.tests[i].keyword);
    ASSERT_TRUE(tests[i]["score_low"].is_number());
    ASSERT_TRUE(tests[i]["score_high"].is_number());
    EXPECT_EQ(run.tests[i].score_low, tests[i]["score_low"].get<double>());
    EXPECT_EQ(run.tests[i].score_high, tests[i]["score_high"].get<double>());
  }
}

// The first test's interval once its score_low and score_high are `low` and
// `high` (a missing one left out of the file), with its score made null
// where `unscored`.
std::pair<std::optional<double>, std::optional<double>> read_bounds(nlohmann::json low,
                                                                    nlohmann::json high,
                                                                    bool unscored = false) {
  auto document = nlohmann::json::parse(five_pass_json());
  auto& test = document["tests"][0];
  if (unscored) test["score"] = nullptr;
  test.erase("score_low");
  test.erase("score_high");
  if (!low.is_discarded()) test["score_low"] = low;
  if (!high.is_discarded()) test["score_high"] = high;
  const TestResult read = parse_run_file(document.dump(), "r.json").tests[0];
  return {read.score_low, read.score_high};
}

TEST(ResultsJson, AnIntervalThatDoesNotBracketItsScoreIsSetAside) {
  const double score = *parse_run_file(five_pass_json(), "r.json").tests[0].score;
  const nlohmann::json missing(nlohmann::json::value_t::discarded);
  using Bounds = std::pair<std::optional<double>, std::optional<double>>;
  EXPECT_EQ(read_bounds(score, score), Bounds(score, score));
  EXPECT_EQ(read_bounds(score * 1.001, score * 2), Bounds());
  EXPECT_EQ(read_bounds(score / 2, score * 0.999), Bounds());
  EXPECT_EQ(read_bounds(score, score, true), Bounds());
  EXPECT_EQ(read_bounds(score / 2, nullptr), Bounds(score / 2, std::nullopt));
  EXPECT_EQ(read_bounds(nullptr, score * 2), Bounds(std::nullopt, score * 2));
  EXPECT_EQ(read_bounds(missing, missing), Bounds());
  EXPECT_EQ(read_bounds(missing, score * 2), Bounds(std::nullopt, score * 2));
  EXPECT_THROW(read_bounds(-1.0, score * 2), BadInput);
}

}  // namespace
