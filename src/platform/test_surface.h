// Inside the platform layer: the two places a suite can draw, an X window
// through GLX and an EGL pbuffer off-screen, behind what platform.h offers
// for the running test window (title, swap, read-back).
#pragma once

#include <functional>
#include <vector>

#include "platform/platform.h"

namespace platform {

constexpr int SURFACE_WIDTH = 512;
constexpr int SURFACE_HEIGHT = 384;
static_assert(TEST_PICTURE_BYTES == SURFACE_WIDTH * SURFACE_HEIGHT * 3);

// The surface whose suite is running.
class TestSurface {
 public:
  virtual ~TestSurface() = default;
  virtual void set_title(const char* title) = 0;
  virtual void swap() = 0;
  // True when what the surface shows is in its back buffer until the next
  // swap; false for a surface with one colour buffer.
  virtual bool double_buffered() const = 0;
};

// Registers `surface` as the running one for the life of this object, so
// that the title, swap and read-back calls reach it.
class RunningSurface {
 public:
  explicit RunningSurface(TestSurface& surface);
  ~RunningSurface();
  RunningSurface(const RunningSurface&) = delete;
  RunningSurface& operator=(const RunningSurface&) = delete;
};

// One wish for the buffers of a test surface, tried in order until the
// implementation grants one.
struct BufferWish {
  int depth;     // depth bits at least; 0: none wanted
  bool stencil;  // 8 stencil bits
  bool accum;    // an accumulation buffer (X only: EGL has none)
};

// The 3D surface asks for the requested depth and, like the generic formats
// of other desktops, prefers a stencil buffer and an accumulation buffer
// where the implementation has them. Implementations often pair stencil
// bits only with a 24-bit depth buffer, so that pairing is tried before
// giving stencil up. The 2D surface wants colour alone. A plain request
// takes the preferences away, an impossible one every wish.
std::vector<BufferWish> buffer_wishes(const GlWindowRequest& request);

WindowOutcome run_x_gl_window(const GlWindowRequest& request, const WindowRect& rect,
                              const char* title, const std::function<void()>& suite);
WindowOutcome run_offscreen_gl_window(const GlWindowRequest& request,
                                      const std::function<void()>& suite);
bool offscreen_started();

}  // namespace platform
