// Test windows without a window system: each is an EGL pbuffer of the test
// window's size with a desktop GL context of its own, on a GPU that EGL
// enumerates or on Mesa's software renderer. Nothing here opens an X
// connection.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/test_surface.h"

namespace platform {
namespace {

constexpr int MAX_DEVICES = 64;

// The extension functions, found once. Any may be null where EGL lacks it.
struct EglEntryPoints {
  PFNEGLQUERYDEVICESEXTPROC query_devices;
  PFNEGLQUERYDEVICESTRINGEXTPROC query_device_string;
  PFNEGLGETPLATFORMDISPLAYEXTPROC get_platform_display;
  PFNEGLQUERYDISPLAYATTRIBEXTPROC query_display_attrib;
};

const EglEntryPoints& egl() {
  static const EglEntryPoints entry_points = {
      reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT")),
      reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
          eglGetProcAddress("eglQueryDeviceStringEXT")),
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
          eglGetProcAddress("eglGetPlatformDisplayEXT")),
      reinterpret_cast<PFNEGLQUERYDISPLAYATTRIBEXTPROC>(
          eglGetProcAddress("eglQueryDisplayAttribEXT")),
  };
  return entry_points;
}

std::string egl_error() {
  char text[32];
  std::snprintf(text, sizeof text, "EGL error 0x%04X", static_cast<unsigned>(eglGetError()));
  return text;
}

std::vector<EGLDeviceEXT> egl_devices() {
  if (egl().query_devices == nullptr || egl().query_device_string == nullptr) return {};
  EGLDeviceEXT devices[MAX_DEVICES];
  EGLint count = 0;
  if (!egl().query_devices(MAX_DEVICES, devices, &count)) return {};
  return std::vector<EGLDeviceEXT>(devices, devices + count);
}

GlDevice describe_device(EGLDeviceEXT device) {
  GlDevice described;
  const char* extensions = egl().query_device_string(device, EGL_EXTENSIONS);
  described.software = has_word(extensions, "EGL_MESA_device_software");
  if (has_word(extensions, "EGL_EXT_device_drm")) {
    const char* file = egl().query_device_string(device, EGL_DRM_DEVICE_FILE_EXT);
    if (file != nullptr) described.drm_file = file;
  }
  return described;
}

// A config for desktop GL on pbuffers with 8-bit red, green and blue and
// no multisampling that meets the wish as a GLX visual would: the largest
// depth buffer of at least the wished size (none when none is wished), the
// smallest stencil buffer that is enough, the smallest alpha.
EGLConfig choose_config(EGLDisplay display, const BufferWish& wish) {
  const EGLint wanted[] = {EGL_SURFACE_TYPE,
                           EGL_PBUFFER_BIT,
                           EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_BIT,
                           EGL_RED_SIZE,
                           8,
                           EGL_GREEN_SIZE,
                           8,
                           EGL_BLUE_SIZE,
                           8,
                           EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count <= 0) return nullptr;
  std::vector<EGLConfig> configs(static_cast<size_t>(count));
  eglChooseConfig(display, wanted, configs.data(), count, &count);
  EGLConfig best = nullptr;
  EGLint best_depth = 0, best_stencil = 0, best_alpha = 0;
  for (EGLConfig config : configs) {
    auto value = [&](EGLint attribute) {
      EGLint v = 0;
      eglGetConfigAttrib(display, config, attribute, &v);
      return v;
    };
    if (value(EGL_RED_SIZE) != 8 || value(EGL_GREEN_SIZE) != 8 || value(EGL_BLUE_SIZE) != 8 ||
        value(EGL_SAMPLES) != 0) {
      continue;
    }
    const EGLint depth = value(EGL_DEPTH_SIZE);
    const EGLint stencil = value(EGL_STENCIL_SIZE);
    const EGLint alpha = value(EGL_ALPHA_SIZE);
    if (depth < wish.depth || (wish.stencil && stencil < 8)) continue;
    const bool better =
        best == nullptr ||
        (depth != best_depth       ? (wish.depth > 0 ? depth > best_depth : depth < best_depth)
         : stencil != best_stencil ? stencil < best_stencil
                                   : alpha < best_alpha);
    if (better) {
      best = config;
      best_depth = depth;
      best_stencil = stencil;
      best_alpha = alpha;
    }
  }
  return best;
}

// A pbuffer of the test window's size and a compatibility-profile context,
// made current together; released as the object ends.
class Pbuffer : public GlSurface {
 public:
  Pbuffer(EGLDisplay display, EGLConfig config) : display_(display) {
    const EGLint size[] = {EGL_WIDTH, TEST_SURFACE_WIDTH, EGL_HEIGHT, TEST_SURFACE_HEIGHT,
                           EGL_NONE};
    surface_ = eglCreatePbufferSurface(display, config, size);
    if (surface_ == EGL_NO_SURFACE) {
      error_ = "no pbuffer (" + egl_error() + ")";
      return;
    }
    eglBindAPI(EGL_OPENGL_API);
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
    // Before EGL 1.5 the profile cannot be named; a context of no named
    // version is a compatibility one.
    if (context_ == EGL_NO_CONTEXT) {
      context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    }
    if (context_ == EGL_NO_CONTEXT) {
      error_ = "no desktop GL context (" + egl_error() + ")";
      return;
    }
    if (!eglMakeCurrent(display, surface_, surface_, context_)) {
      error_ = "its GL context cannot be made current (" + egl_error() + ")";
    }
  }
  ~Pbuffer() override {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
    if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
  }
  Pbuffer(const Pbuffer&) = delete;
  Pbuffer& operator=(const Pbuffer&) = delete;

  // Empty when the context is current; else what failed.
  const std::string& error() const { return error_; }

  void set_title(const char*) override {}  // nobody sees it
  // A pbuffer has one colour buffer: the swap shows nothing. What a window's
  // swap also does, hand the frame to the GL, glFlush does, so that the
  // frames of a timed loop are drawn as they come rather than queued in the
  // driver until the loop's end (a gigabyte, on Mesa's llvmpipe).
  void swap_buffers() override {
    eglSwapBuffers(display_, surface_);
    glFlush();
  }

 protected:
  bool double_buffered() const override { return false; }

 private:
  EGLDisplay display_;
  EGLSurface surface_ = EGL_NO_SURFACE;
  EGLContext context_ = EGL_NO_CONTEXT;
  std::string error_;
};

// An initialised EGL display of a device, or of Mesa's surfaceless platform
// for a null device; null with `error` set when there is none.
EGLDisplay open_egl_display(EGLDeviceEXT device, std::string* error) {
  if (egl().get_platform_display == nullptr) {
    *error = "EGL offers no platform displays (EGL_EXT_platform_base)";
    return EGL_NO_DISPLAY;
  }
  const EGLDisplay display =
      device != nullptr
          ? egl().get_platform_display(EGL_PLATFORM_DEVICE_EXT, device, nullptr)
          : egl().get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
    *error = "cannot be initialised (" + egl_error() + ")";
    return EGL_NO_DISPLAY;
  }
  keep_drivers_loaded();
  return display;
}

// Makes a context of the 2D window's kind current once and reads the GL
// renderer; empty, with `error` set, when no context can be had.
std::string probe_renderer(EGLDisplay display, std::string* error) {
  const EGLConfig config = choose_config(display, BufferWish{0, false, false});
  if (config == nullptr) {
    *error = "offers no 8-bit RGB pbuffer configuration for desktop GL";
    return "";
  }
  const Pbuffer pbuffer(display, config);
  if (!pbuffer.error().empty()) {
    *error = "gives " + pbuffer.error();
    return "";
  }
  const GLubyte* renderer = glGetString(GL_RENDERER);
  return renderer != nullptr ? reinterpret_cast<const char*>(renderer) : "(no renderer string)";
}

EGLDisplay offscreen_display = EGL_NO_DISPLAY;
Acceleration offscreen_kind_of_renderer = Acceleration::unknown;

// What the display's device says of itself; Mesa's surfaceless platform
// names the device it draws on (a GPU's render node, or its software
// device) where EGL_EXT_device_query is offered.
Acceleration display_acceleration(EGLDisplay display) {
  EGLAttrib device = 0;
  if (egl().query_display_attrib == nullptr || egl().query_device_string == nullptr ||
      !egl().query_display_attrib(display, EGL_DEVICE_EXT, &device) || device == 0) {
    return Acceleration::unknown;
  }
  return describe_device(reinterpret_cast<EGLDeviceEXT>(device)).software ? Acceleration::software
                                                                          : Acceleration::hardware;
}

}  // namespace

std::vector<GlDevice> list_gl_devices(bool with_renderers) {
  std::vector<GlDevice> listed;
  for (EGLDeviceEXT device : egl_devices()) {
    GlDevice described = describe_device(device);
    if (!with_renderers) {
      listed.push_back(described);
      continue;
    }
    std::string error;
    const EGLDisplay display = open_egl_display(device, &error);
    if (display != EGL_NO_DISPLAY) {
      described.renderer = probe_renderer(display, &error);
      eglTerminate(display);
    }
    listed.push_back(described);
  }
  return listed;
}

bool start_offscreen(int device, OffscreenPlace* place, std::string* error) {
  const std::vector<EGLDeviceEXT> devices = egl_devices();
  const int count = static_cast<int>(devices.size());
  if (device >= count) {
    *error = "there is no EGL device " + std::to_string(device) + "; EGL lists " +
             std::to_string(count) + " (-devices shows them)";
    return false;
  }
  // The first GPU, or Mesa's surfaceless platform when the machine has
  // none. A GPU that gives no context is an error, never a reason to
  // measure the CPU instead.
  int chosen = device;
  for (int i = 0; chosen < 0 && i < count; ++i) {
    if (!describe_device(devices[i]).software) chosen = i;
  }
  std::string what;
  if (chosen >= 0) {
    const GlDevice described = describe_device(devices[chosen]);
    what = "EGL device " + std::to_string(chosen) +
           (described.drm_file.empty() ? "" : " (" + described.drm_file + ")");
    *place = {OffscreenKind::device, chosen, described.drm_file};
  } else {
    what = "Mesa's surfaceless EGL platform";
    *place = {OffscreenKind::surfaceless, -1, ""};
  }
  std::string trouble;
  const EGLDisplay display = open_egl_display(chosen >= 0 ? devices[chosen] : nullptr, &trouble);
  // A context is tried once here, so that a device that gives none is told
  // before the run rather than at its first window.
  if (display != EGL_NO_DISPLAY) probe_renderer(display, &trouble);
  if (!trouble.empty()) {
    if (display != EGL_NO_DISPLAY) eglTerminate(display);
    *error = what + " " + trouble;
    return false;
  }
  offscreen_display = display;
  offscreen_kind_of_renderer = display_acceleration(display);
  return true;
}

bool offscreen_started() { return offscreen_display != EGL_NO_DISPLAY; }

Acceleration offscreen_acceleration() { return offscreen_kind_of_renderer; }

WindowOutcome run_offscreen_gl_window(const GlWindowRequest& request,
                                      const std::function<void(GlSurface&)>& suite) {
  EGLConfig config = nullptr;
  for (const BufferWish& wish : buffer_wishes(request)) {
    config = choose_config(offscreen_display, wish);
    if (config != nullptr) break;
  }
  if (config == nullptr) return WindowOutcome::no_visual;
  Pbuffer pbuffer(offscreen_display, config);
  if (!pbuffer.error().empty()) return WindowOutcome::no_context;
  suite(pbuffer);
  return WindowOutcome::ran;
}

}  // namespace platform
