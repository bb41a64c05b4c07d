#include "raster2d/zoom_sweep.h"

namespace {

struct ZoomRamp {
  float start;
  double x_span;
  int x_divisor;  // the step is x_span / (x_divisor * n)
  double y_span;
  int y_divisor;
};

constexpr float TINY = 1.0f / 128.0f;

constexpr ZoomRamp ZOOM_RAMPS[] = {
    {TINY, 0.9921875, 1, 0.9921875, 1},  // tiny to just below full size
    {1.0f, 8.0, 1, 8.0, 1},              // full size to just below nine times
    {TINY, 1.9921875, 1, 1.4921875, 2},  // wide
    {TINY, 1.9921875, 2, 1.4921875, 1},  // tall
};

constexpr float ZOOM_CYCLE[ZOOM_CYCLE_LENGTH] = {
    1.0f / 128, 1.0f / 64, 1.0f / 32, 1.0f / 16, 1.0f / 8,  1.0f / 4,  0.5f,
    1.0f,       2.0f,      4.0f,      8.0f,      16.0f,     32.0f,     64.0f,
    128.0f,     64.0f,     32.0f,     16.0f,     8.0f,      4.0f,      2.0f,
    1.0f,       0.5f,      1.0f / 4,  1.0f / 8,  1.0f / 16, 1.0f / 32, 1.0f / 64,
};

int clamp_steps(int n) {
  if (n < 0) return 0;
  return n > ZOOM_SWEEP_MAX_STEPS ? ZOOM_SWEEP_MAX_STEPS : n;
}

float ramp_step(double span, int divisor, int n) {
  return static_cast<float>(span / (static_cast<double>(divisor) * n));
}

ZoomFactor* append_ramp(ZoomFactor* out, const ZoomRamp& ramp, int n) {
  const float x_step = ramp_step(ramp.x_span, ramp.x_divisor, n);
  const float y_step = ramp_step(ramp.y_span, ramp.y_divisor, n);
  float x = ramp.start;
  float y = ramp.start;
  for (int i = 0; i < n; ++i) {
    *out++ = ZoomFactor{x, y};
    x += x_step;
    y += y_step;
  }
  return out;
}

ZoomFactor* append_cycles(ZoomFactor* out, int cycles) {
  for (int c = 0; c < cycles; ++c) {
    for (float factor : ZOOM_CYCLE) *out++ = ZoomFactor{factor, factor};
  }
  return out;
}

}  // namespace

void build_zoom_sweep(ZoomSweep& sweep, int n) {
  n = clamp_steps(n);
  ZoomFactor* out = sweep.draws;
  for (const ZoomRamp& ramp : ZOOM_RAMPS) out = append_ramp(out, ramp, n);
  out = append_cycles(out, n / 2);
  sweep.count = static_cast<int>(out - sweep.draws);
}
