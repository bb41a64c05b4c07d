// The JSON result file's account of where a run drew.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

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

}  // namespace
