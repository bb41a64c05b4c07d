// The two kinds of GL test window. Each runs its whole suite inside its
// first draw and then closes itself, like a window that paints once.
#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/x.H>
#include <GL/glx.h>
#include <GL/glxext.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/test_surface.h"

namespace platform {
namespace {

// FLTK remembers the visual it chose for an attribute list by the list's
// address, so every distinct list must keep an address of its own for the
// life of the process: a freed list whose address is reused for another
// would bring back the wrong visual.
const int* stable_attributes(const std::vector<int>& attributes) {
  static std::deque<std::vector<int>> kept;
  for (const std::vector<int>& known : kept) {
    if (known == attributes) return known.data();
  }
  kept.push_back(attributes);
  return kept.back().data();
}

std::vector<int> visual_attributes(GlWindowKind kind, const BufferWish& wish) {
  std::vector<int> a = {GLX_RGBA, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8};
  if (kind == GlWindowKind::double_buffered) {
    a.push_back(GLX_DOUBLEBUFFER);
    if (wish.depth > 0) a.insert(a.end(), {GLX_DEPTH_SIZE, wish.depth});
    if (wish.stencil) a.insert(a.end(), {GLX_STENCIL_SIZE, 8});
    if (wish.accum) {
      a.insert(a.end(), {GLX_ACCUM_RED_SIZE, 1, GLX_ACCUM_GREEN_SIZE, 1, GLX_ACCUM_BLUE_SIZE, 1});
    }
  }
  a.push_back(None);
  return a;
}

// The attributes of the first wish the server can grant; null for none.
const int* choose_attributes(const GlWindowRequest& request) {
  for (const BufferWish& wish : buffer_wishes(request)) {
    const int* attributes = stable_attributes(visual_attributes(request.kind, wish));
    if (Fl_Gl_Window::can_do(attributes)) return attributes;
  }
  return nullptr;
}

// A driver that syncs swaps to the display would make every frame wait for
// the refresh and the 3D scores measure the monitor; interval 0 is asked for
// through whichever control extension the server offers.
SwapInterval set_swap_interval_zero(Window window) {
  const char* extensions = glXQueryExtensionsString(fl_display, fl_screen);
  if (has_word(extensions, "GLX_EXT_swap_control")) {
    auto swap_interval = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
    if (swap_interval != nullptr) {
      swap_interval(fl_display, window, 0);
      unsigned int interval = 1;
      glXQueryDrawable(fl_display, window, GLX_SWAP_INTERVAL_EXT, &interval);
      if (interval == 0) return SwapInterval::zero;
    }
  }
  if (has_word(extensions, "GLX_MESA_swap_control")) {
    auto swap_interval = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
    if (swap_interval != nullptr && swap_interval(0) == 0) return SwapInterval::zero;
  }
  return SwapInterval::driver_no_control;
}

SwapInterval swap_interval_of_last_window = SwapInterval::not_set;

// Xlib's own handler ends the process on the first error. While a window's
// context is made current, an error is kept instead and the window reports
// a missing context: an X server refuses an indirect context with BadMatch.
std::string context_error;
XErrorHandler handler_before_context = nullptr;

int keep_context_error(Display* display, XErrorEvent* event) {
  if (!context_error.empty()) return 0;
  char text[160];
  XGetErrorText(display, event->error_code, text, sizeof text);
  context_error = "the X server refused to make its GL context current (X error " +
                  std::string(text) + ", request " + std::to_string(event->request_code) + "." +
                  std::to_string(event->minor_code) +
                  "); an X server takes indirect GL (LIBGL_ALWAYS_INDIRECT) only when started "
                  "with +iglx";
  return 0;
}

void catch_context_errors() {
  context_error.clear();
  handler_before_context = XSetErrorHandler(keep_context_error);
}

// True once every request so far is answered and none failed.
bool context_made_current() {
  XSync(fl_display, False);
  return context_error.empty();
}

// Xlib's handling again; a window whose context was refused keeps the catch
// until it has closed, since closing it fails in the same way.
void stop_catching_context_errors() {
  if (handler_before_context == nullptr) return;
  XSync(fl_display, False);
  XSetErrorHandler(handler_before_context);
  handler_before_context = nullptr;
}

// Mesa's softpipe (22.3, under Xvfb) crashes in glXDestroyContext, which
// FLTK calls as the window closes, for a single-buffered context that has
// drawn into its front buffer but never read from it, as a status-only run
// does; a read of one pixel before the teardown avoids it.
void read_one_pixel() {
  GLubyte pixel[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

class SuiteWindow : public Fl_Gl_Window, public GlSurface {
 public:
  SuiteWindow(const GlWindowRequest& request, const WindowRect& rect, const char* title,
              const std::function<void(GlSurface&)>& suite)
      : Fl_Gl_Window(rect.left, rect.top, TEST_SURFACE_WIDTH, TEST_SURFACE_HEIGHT),
        request_(request),
        suite_(suite) {
    copy_label(title);
    // The window closes itself when its suite is done; a close request from
    // the desktop before that is ignored.
    callback([](Fl_Widget*, void*) {});
  }

  bool context_missing() const { return context_missing_; }

  void set_title(const char* title) override {
    copy_label(title);
    // Inside a draw nothing else flushes the connection until the suite ends.
    XFlush(fl_display);
  }
  void swap_buffers() override { Fl_Gl_Window::swap_buffers(); }

 protected:
  bool double_buffered() const override { return (mode() & FL_DOUBLE) != 0; }

 protected:
  void draw() override {
    if (drawn_) return;
    drawn_ = true;
    if (!context_made_current() || context() == nullptr || glXGetCurrentContext() == nullptr) {
      context_missing_ = true;
    } else {
      stop_catching_context_errors();
      keep_drivers_loaded();
      if (request_.kind == GlWindowKind::double_buffered) {
        swap_interval_of_last_window = request_.driver_swap_interval
                                           ? SwapInterval::driver_by_request
                                           : set_swap_interval_zero(fl_xid(this));
      }
      suite_(*this);
      if (request_.kind == GlWindowKind::single_buffered) read_one_pixel();
    }
    Fl::add_timeout(0.0, close_soon, this);
  }

 private:
  static void close_soon(void* window) { static_cast<SuiteWindow*>(window)->hide(); }

  GlWindowRequest request_;
  const std::function<void(GlSurface&)>& suite_;
  bool drawn_ = false;
  bool context_missing_ = false;
};

}  // namespace

WindowOutcome run_x_gl_window(const GlWindowRequest& request, const WindowRect& rect,
                              const char* title, const std::function<void(GlSurface&)>& suite) {
  const int* attributes = choose_attributes(request);
  if (attributes == nullptr) return WindowOutcome::no_visual;

  SuiteWindow* window = new SuiteWindow(request, rect, title, suite);
  if (!window->mode(attributes)) {
    delete window;
    return WindowOutcome::no_visual;
  }
  catch_context_errors();
  window->show();
  if (!window->shown()) {
    stop_catching_context_errors();
    delete window;
    return WindowOutcome::not_created;
  }
  while (window->shown()) Fl::wait();
  stop_catching_context_errors();
  const bool missing = window->context_missing();
  delete window;  // releases the GL context with the window
  Fl::check();
  return missing ? WindowOutcome::no_context : WindowOutcome::ran;
}

SwapInterval test_window_swap_interval() { return swap_interval_of_last_window; }

std::string last_context_error() { return context_error; }

Acceleration x_gl_acceleration() {
  if (!has_word(glXQueryExtensionsString(fl_display, fl_screen), "GLX_MESA_query_renderer")) {
    return Acceleration::unknown;
  }
  auto query = reinterpret_cast<PFNGLXQUERYCURRENTRENDERERINTEGERMESAPROC>(
      glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryCurrentRendererIntegerMESA")));
  unsigned int accelerated = 0;
  if (query == nullptr || !query(GLX_RENDERER_ACCELERATED_MESA, &accelerated)) {
    return Acceleration::unknown;
  }
  return accelerated != 0 ? Acceleration::hardware : Acceleration::software;
}

}  // namespace platform
