// Inside the platform layer: what the two places a suite can draw, an X
// window through GLX and an EGL pbuffer off-screen, share.
#pragma once

#include <functional>
#include <vector>

#include "platform/platform.h"

namespace platform {

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

// True when the space-separated `words` (an extension string; null: none)
// hold `word` whole.
bool has_word(const char* words, const char* word);

// Called once a GL driver has been loaded (a display initialised, a context
// made): in a sanitizer build, keeps every shared object now loaded for the
// life of the process. EGL unloads its driver at eglTerminate and GLX at
// the display's close; what a driver kept in its own variables then looks
// lost, and allocations made in code no longer mapped can neither be named
// nor matched by the leak check's suppressions. Kept loaded, the driver is
// named as their owner while leaks of ours are still reported. Does nothing
// in other builds.
void keep_drivers_loaded();

WindowOutcome run_x_gl_window(const GlWindowRequest& request, const WindowRect& rect,
                              const char* title, const std::function<void(GlSurface&)>& suite);
WindowOutcome run_offscreen_gl_window(const GlWindowRequest& request,
                                      const std::function<void(GlSurface&)>& suite);
bool offscreen_started();
Acceleration x_gl_acceleration();
Acceleration offscreen_acceleration();

}  // namespace platform
