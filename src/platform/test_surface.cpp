// The choice of surface for each test window, and what every kind of
// surface does alike.
#include "platform/test_surface.h"

#include <GL/gl.h>
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>

namespace platform {

bool has_word(const char* words, const char* word) {
  const size_t length = std::strlen(word);
  for (const char* at = words; at != nullptr && *at != '\0'; at += std::strcspn(at, " ")) {
    at += std::strspn(at, " ");
    if (std::strncmp(at, word, length) == 0 && (at[length] == ' ' || at[length] == '\0')) {
      return true;
    }
  }
  return false;
}

void keep_drivers_loaded() {
#ifdef TARVELIN_KEEP_DRIVERS_LOADED
  // The names are gathered first: dlopen is not to be called while
  // dl_iterate_phdr holds the loader's lock.
  std::vector<std::string> loaded;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* names) {
        // The program itself has no name, the kernel's vDSO no path.
        if (info->dlpi_name[0] == '/')
          static_cast<std::vector<std::string>*>(names)->push_back(info->dlpi_name);
        return 0;
      },
      &loaded);
  for (const std::string& name : loaded) {
    void* handle = dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    if (handle != nullptr) dlclose(handle);
  }
#endif
}

std::vector<BufferWish> buffer_wishes(const GlWindowRequest& request) {
  const int depth_bits = request.depth_bits;
  if (request.buffers == BufferChoice::impossible) return {};
  if (request.kind == GlWindowKind::single_buffered) return {{0, false, false}};
  std::vector<BufferWish> wishes;
  if (request.buffers == BufferChoice::preferred) {
    wishes.push_back({depth_bits, true, true});
    if (depth_bits > 24) wishes.push_back({24, true, true});
    wishes.push_back({depth_bits, false, true});
    wishes.push_back({depth_bits, true, false});
    if (depth_bits > 24) wishes.push_back({24, true, false});
  }
  wishes.push_back({depth_bits, false, false});
  return wishes;
}

WindowOutcome run_gl_window(const GlWindowRequest& request, const WindowRect& rect,
                            const char* title, const std::function<void(GlSurface&)>& suite) {
  if (offscreen_started()) return run_offscreen_gl_window(request, suite);
  return run_x_gl_window(request, rect, title, suite);
}

Acceleration current_gl_acceleration() {
  return offscreen_started() ? offscreen_acceleration() : x_gl_acceleration();
}

void GlSurface::read_back(uint8_t rgb[TEST_PICTURE_BYTES]) const {
  glFinish();
  // The colour scales a test sets apply to reads too; the picture is read
  // as the window holds it.
  glPushAttrib(GL_PIXEL_MODE_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glReadBuffer(double_buffered() ? GL_BACK : GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelTransferf(GL_RED_SCALE, 1.0f);
  glPixelTransferf(GL_GREEN_SCALE, 1.0f);
  glPixelTransferf(GL_BLUE_SCALE, 1.0f);
  glReadPixels(0, 0, TEST_SURFACE_WIDTH, TEST_SURFACE_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  glPopClientAttrib();
  glPopAttrib();
}

}  // namespace platform
