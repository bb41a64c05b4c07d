// What the capability probes read from the GL implementation; printed by
// the environment status report.
#pragma once

#include <cstdint>

struct EnvironmentInfo {
  // Heap copies made once per run by the first 3D probe; null when the
  // implementation returned none. Never freed.
  char* vendor_string = nullptr;
  char* renderer_string = nullptr;
  char* version_string = nullptr;
  char* extensions_string = nullptr;
  int32_t strings_captured = 0;
  int32_t red_bits_3d = 0;
  int32_t green_bits_3d = 0;
  int32_t blue_bits_3d = 0;
  int32_t stencil_bits = 0;
  int32_t accum_red_bits = 0;
  int32_t accum_green_bits = 0;
  int32_t accum_blue_bits = 0;
  int32_t red_bits_2d = 0;
  int32_t green_bits_2d = 0;
  int32_t blue_bits_2d = 0;
};

extern EnvironmentInfo environment_info;
