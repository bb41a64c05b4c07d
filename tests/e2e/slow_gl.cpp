// Preloaded into a side of an A/B session to make it slower or make it
// fail in a known place: it stands in front of three GL calls of the
// benchmark's loops and, after the real call,
// - SLOW_GL_CALL=glCopyPixels (or glDrawPixels, glCallList) with
//   SLOW_GL_SPIN_US=N spins N microseconds in that call: the tests that
//   make it get slower by what the call count times N adds, the others not;
// - SLOW_GL_ABORT=glDrawPixels aborts the process at the first such call,
//   as a driver that crashes does.
#include <GL/gl.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

// What the environment asks of each call, read once: the calls the side does
// not slow pay for one comparison each, not for reading the environment.
struct Asked {
  bool abort = false;
  bool slow = false;
};

Asked asked_of(const char* call) {
  const auto named = [call](const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::strcmp(value, call) == 0;
  };
  return {named("SLOW_GL_ABORT"), named("SLOW_GL_CALL")};
}

void after_call(const Asked& asked) {
  if (asked.abort) std::abort();
  if (!asked.slow) return;
  static const long spin_us = [] {
    const char* value = std::getenv("SLOW_GL_SPIN_US");
    return value != nullptr ? std::atol(value) : 0L;
  }();
  const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(spin_us);
  while (std::chrono::steady_clock::now() < until) {
  }
}

template <class Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void glCopyPixels(GLint x, GLint y, GLsizei width,
                                                                    GLsizei height, GLenum type) {
  static const auto call = real<void (*)(GLint, GLint, GLsizei, GLsizei, GLenum)>("glCopyPixels");
  call(x, y, width, height, type);
  static const Asked asked = asked_of("glCopyPixels");
  after_call(asked);
}

extern "C" __attribute__((visibility("default"))) void glDrawPixels(GLsizei width, GLsizei height,
                                                                    GLenum format, GLenum type,
                                                                    const void* pixels) {
  static const auto call =
      real<void (*)(GLsizei, GLsizei, GLenum, GLenum, const void*)>("glDrawPixels");
  call(width, height, format, type, pixels);
  static const Asked asked = asked_of("glDrawPixels");
  after_call(asked);
}

extern "C" __attribute__((visibility("default"))) void glCallList(GLuint list) {
  static const auto call = real<void (*)(GLuint)>("glCallList");
  call(list);
  static const Asked asked = asked_of("glCallList");
  after_call(asked);
}
