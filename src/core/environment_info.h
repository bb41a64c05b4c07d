// What the capability probes read from the GL implementation; printed by
// the environment status report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

// What became of the 3D window's swap interval (whether swaps wait for the
// display's refresh), as the platform tells it (not_set: no 3D window has
// run).
using SwapIntervalState = platform::SwapInterval;

// Whether the window system says the renderer draws on graphics hardware.
using GlAcceleration = platform::Acceleration;

// Where the test windows drew.
enum class GlPlatform : int32_t {
  glx,              // X windows through GLX
  egl_device,       // off-screen pbuffers on an EGL device
  egl_surfaceless,  // off-screen pbuffers on Mesa's surfaceless EGL platform
};

struct EnvironmentInfo {
  // Copied once per run by the first 3D probe; absent when the
  // implementation returned none.
  std::optional<std::string> vendor_string;
  std::optional<std::string> renderer_string;
  std::optional<std::string> version_string;
  std::optional<std::string> extensions_string;
  bool strings_captured = false;
  GlAcceleration acceleration = GlAcceleration::unknown;  // of the context the strings came from
  int32_t red_bits_3d = 0;
  int32_t green_bits_3d = 0;
  int32_t blue_bits_3d = 0;
  int32_t depth_bits_3d = 0;  // the depth buffer the latest 3D window was granted
  int32_t stencil_bits = 0;
  int32_t accum_red_bits = 0;
  int32_t accum_green_bits = 0;
  int32_t accum_blue_bits = 0;
  int32_t red_bits_2d = 0;
  int32_t green_bits_2d = 0;
  int32_t blue_bits_2d = 0;
  SwapIntervalState swap_interval = SwapIntervalState::not_set;
  GlPlatform gl_platform = GlPlatform::glx;
  int32_t egl_device = -1;              // egl_device only: its number in the EGL device list
  std::optional<std::string> drm_file;  // egl_device only, where the device names one

  // Off-screen surfaces have one colour buffer and no accumulation buffer.
  bool offscreen() const { return gl_platform != GlPlatform::glx; }
};
