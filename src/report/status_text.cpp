#include "report/status_text.h"

#include <cstring>

#include "core/test_hooks.h"

namespace {

constexpr const char* FIRST_EXTENSION_PREFIX = "Extensions : ";
constexpr const char* LATER_EXTENSION_PREFIX = "             ";

void write_header(FILE* out, const RunOptions& options, const EnvironmentInfo& info) {
  std::fprintf(out, "# Tarvelin %s\n", VERSION_TEXT);
  if (options.quarter) std::fprintf(out, "#   quarter mode\n");
  if (options.loops > 1) std::fprintf(out, "#   %d loops\n", options.loops);
  if (options.auto_pass) std::fprintf(out, "#   function auto check mode\n");
  for (const std::string& hook : hooks_in_effect()) {
    std::fprintf(out, "#   test hook set: %s\n", hook.c_str());
  }
  if (const char* line = swap_interval_line(info.swap_interval)) std::fprintf(out, "%s\n", line);
  if (info.offscreen()) std::fprintf(out, "%s\n", offscreen_line(info).c_str());
  std::fprintf(out, "\n");
}

bool has_text(const std::optional<std::string>& text) { return text && !text->empty(); }

void write_strings(FILE* out, const EnvironmentInfo& info) {
  if (info.vendor_string) std::fprintf(out, "Vendor     : %s\n", info.vendor_string->c_str());
  if (info.renderer_string) std::fprintf(out, "Renderer   : %s\n", info.renderer_string->c_str());
  if (info.version_string) std::fprintf(out, "Version    : %s\n", info.version_string->c_str());
  if (info.extensions_string) write_extension_lines(out, info.extensions_string->c_str());
  if (has_text(info.vendor_string) || has_text(info.renderer_string) ||
      has_text(info.version_string) || has_text(info.extensions_string)) {
    std::fprintf(out, "\n");
  }
}

void write_3d_block(FILE* out, const EnvironmentInfo& info) {
  // Off-screen the 3D tests draw into a pbuffer, which has one colour
  // buffer: the reason the swap test is skipped there.
  std::fprintf(out, "# 3D testing environment (%s)\n",
               info.offscreen() ? "pbuffer, one colour buffer" : "double buffer");
  std::fprintf(out, "RED Bits         : %d\n", info.red_bits_3d);
  std::fprintf(out, "GREEN Bits       : %d\n", info.green_bits_3d);
  std::fprintf(out, "BLUE Bits        : %d\n", info.blue_bits_3d);
  std::fprintf(out, "DEPTH Bits       : %d\n", info.depth_bits_3d);
  std::fprintf(out, "STENCIL Bits     : %d\n", info.stencil_bits);
  std::fprintf(out, "ACCUM_RED Bits   : %d\n", info.accum_red_bits);
  std::fprintf(out, "ACCUM_GREEN Bits : %d\n", info.accum_green_bits);
  std::fprintf(out, "ACCUM_BLUE Bits  : %d\n", info.accum_blue_bits);
  std::fprintf(out, "\n");
}

void write_2d_block(FILE* out, const EnvironmentInfo& info) {
  std::fprintf(out, "# 2D testing environment (single buffer)\n");
  std::fprintf(out, "RED Bits         : %d\n", info.red_bits_2d);
  std::fprintf(out, "GREEN Bits       : %d\n", info.green_bits_2d);
  std::fprintf(out, "BLUE Bits        : %d\n", info.blue_bits_2d);
  std::fprintf(out, "\n");
}

}  // namespace

const char* swap_interval_line(SwapIntervalState state) {
  switch (state) {
    case SwapIntervalState::zero:
      return "#   swap interval 0";
    case SwapIntervalState::driver_by_request:
      return "#   swap interval: set by the driver (-vsync)";
    case SwapIntervalState::driver_no_control:
      return "#   swap interval: set by the driver (no control offered)";
    case SwapIntervalState::not_set:
      break;
  }
  return nullptr;
}

std::string offscreen_line(const EnvironmentInfo& info) {
  switch (info.gl_platform) {
    case GlPlatform::egl_device:
      return "#   off-screen (EGL device " +
             (info.drm_file ? *info.drm_file : std::to_string(info.egl_device)) + ")";
    case GlPlatform::egl_surfaceless:
      return "#   off-screen (EGL, Mesa surfaceless)";
    case GlPlatform::glx:
      break;
  }
  return "";
}

void write_extension_lines(FILE* out, const char* extensions) {
  const char* word = extensions;
  for (int line = 0;; ++line) {
    const size_t length = std::strcspn(word, " \n");
    std::fputs(line == 0 ? FIRST_EXTENSION_PREFIX : LATER_EXTENSION_PREFIX, out);
    std::fwrite(word, 1, length, out);
    std::fputc('\n', out);
    const char* end = word + length;
    if (*end != ' ') return;  // the terminator or a line feed
    word = end + 1;           // exactly one space
    if (*word == '\0' || *word == '\n') return;
  }
}

void write_status_text(FILE* out, const RunOptions& options, const EnvironmentInfo& info) {
  write_header(out, options, info);
  write_strings(out, info);
  write_3d_block(out, info);
  write_2d_block(out, info);
}
