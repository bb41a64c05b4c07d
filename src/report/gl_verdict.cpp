// The verdict's checks of what the GL and the run's settings said of
// themselves: the GL's strings and bit depths, its renderer, the test hooks.
#include <algorithm>
#include <cctype>

#include "report/run_verdict.h"

const char* const SOFTWARE_RENDERERS[] = {"llvmpipe",
                                          "softpipe",
                                          "swrast",
                                          "software rasterizer",
                                          "swiftshader",
                                          "gdi generic",
                                          "microsoft basic render",
                                          nullptr};

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool has_text(const std::optional<std::string>& text) { return text && !text->empty(); }

struct Depth {
  const char* name;  // as the report's environment block names it
  int32_t bits;
  int32_t least;  // a colour has at least one bit; the other buffers may be absent
};

// "3D RED 18903090, 3D DEPTH 18903090": each depth outside its range.
std::string impossible_depths(const char* window, const std::vector<Depth>& depths) {
  std::string text;
  for (const Depth& depth : depths) {
    if (depth.bits >= depth.least && depth.bits <= MAX_PLAUSIBLE_BITS) continue;
    if (!text.empty()) text += ", ";
    text += std::string(window) + " " + depth.name + " " + std::to_string(depth.bits);
  }
  return text;
}

void check_strings(const EnvironmentInfo& info, RunVerdict& verdict) {
  const struct {
    const char* name;
    const std::optional<std::string>& text;
  } strings[] = {{"vendor", info.vendor_string},
                 {"renderer", info.renderer_string},
                 {"version", info.version_string}};
  std::vector<const char*> missing;
  for (const auto& string : strings) {
    if (!has_text(string.text)) missing.push_back(string.name);
  }
  if (missing.empty()) return;
  std::string named;  // "vendor, renderer or version"
  for (size_t i = 0; i < missing.size(); ++i) {
    named += std::string(i == 0 ? "" : i + 1 == missing.size() ? " or " : ", ") + missing[i];
  }
  verdict.findings.push_back(
      {finding_kind::GL_UNIDENTIFIED,
       "the GL gave no " + named +
           " string, as a context that does not work does (an X server's indirect one, for "
           "instance): it may not have drawn at all, and its scores cannot be told from work "
           "left undone; run with a direct context (without LIBGL_ALWAYS_INDIRECT) or another "
           "driver",
       {}});
}

}  // namespace

void check_gl_answers(const EnvironmentInfo& info, const std::vector<TestId>& timed,
                      RunVerdict& verdict) {
  if (!info.strings_captured) {
    verdict.not_judged.push_back({"the GL's strings", "no 3D window ran to read them"});
  } else {
    check_strings(info, verdict);
  }
  const bool timed_3d =
      std::any_of(timed.begin(), timed.end(), [](TestId id) { return !is_2d_test(id); });
  const bool timed_2d =
      std::any_of(timed.begin(), timed.end(), [](TestId id) { return is_2d_test(id); });
  std::string seen;
  if (timed_3d) {
    seen = impossible_depths("3D", {{"RED", info.red_bits_3d, 1},
                                    {"GREEN", info.green_bits_3d, 1},
                                    {"BLUE", info.blue_bits_3d, 1},
                                    {"DEPTH", info.depth_bits_3d, 0},
                                    {"STENCIL", info.stencil_bits, 0},
                                    {"ACCUM_RED", info.accum_red_bits, 0},
                                    {"ACCUM_GREEN", info.accum_green_bits, 0},
                                    {"ACCUM_BLUE", info.accum_blue_bits, 0}});
  }
  if (timed_2d) {
    const std::string seen_2d = impossible_depths("2D", {{"RED", info.red_bits_2d, 1},
                                                         {"GREEN", info.green_bits_2d, 1},
                                                         {"BLUE", info.blue_bits_2d, 1}});
    seen += (seen.empty() || seen_2d.empty() ? "" : ", ") + seen_2d;
  }
  if (seen.empty()) return;
  verdict.findings.push_back(
      {finding_kind::IMPOSSIBLE_BIT_DEPTHS,
       "the GL reported bit depths no buffer has (" + seen +
           "): what it answers cannot be believed, and neither can its scores",
       {}});
}

bool is_software_renderer(const std::string& renderer) {
  const std::string text = lower(renderer);
  for (const char* const* name = SOFTWARE_RENDERERS; *name != nullptr; ++name) {
    if (text.find(*name) != std::string::npos) return true;
  }
  return false;
}

bool measures_software(const EnvironmentInfo& info) {
  return info.acceleration == GlAcceleration::software ||
         (info.renderer_string && is_software_renderer(*info.renderer_string));
}

void check_renderer(const std::optional<std::string>& renderer, GlAcceleration acceleration,
                    GlPlatform platform, const std::vector<std::string>& gpu_devices,
                    RunVerdict& verdict) {
  const bool named_software = renderer && is_software_renderer(*renderer);
  if (!named_software && acceleration != GlAcceleration::software) return;
  const char* reporter = platform == GlPlatform::glx ? "GLX" : "EGL";
  std::string text = named_software ? "the renderer \"" + *renderer + "\" is a software rasteriser"
                     : has_text(renderer)
                         ? std::string(reporter) +
                               " reports a software renderer, whatever its string \"" + *renderer +
                               "\" says"
                         : std::string(reporter) + " reports a software renderer";
  text += ": this measures the CPU, not a graphics card";
  if (!gpu_devices.empty()) {
    std::string listed;
    for (const std::string& device : gpu_devices) listed += (listed.empty() ? "" : ", ") + device;
    text += "; EGL lists a GPU here (" + listed + "): measure it with " +
            (platform == GlPlatform::glx ? "-offscreen" : "-offscreen -device N (see -devices)") +
            ", or on its own desktop";
  }
  verdict.findings.push_back({finding_kind::SOFTWARE_RENDERER, text, {}});
}

void check_hooks(const std::vector<std::string>& hooks, RunVerdict& verdict) {
  if (hooks.empty()) return;
  std::string named;
  for (const std::string& hook : hooks) named += (named.empty() ? "" : ", ") + hook;
  verdict.findings.push_back(
      {finding_kind::TEST_HOOKS,
       "test hooks were set (" + named +
           "): they change what the run draws or times, for the program's own tests; unset "
           "them for scores that count",
       {}});
}
