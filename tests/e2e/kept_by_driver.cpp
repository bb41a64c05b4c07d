// A stand-in for Mesa's software DRI driver that the loader finds first on
// LIBGL_DRIVERS_PATH: it keeps a block for as long as it is loaded, as
// drivers do, and hands over to the real driver. EGL unloads its driver at
// eglTerminate, and the leak check must still name the driver as the
// block's owner rather than report it as ours from unknown code.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {
void* kept = nullptr;
}

extern "C" __attribute__((visibility("default"))) const void** __driDriverGetExtensions_swrast() {
  std::fputs("stand-in driver: loaded\n", stderr);
  kept = std::realloc(kept, 128);
  using GetExtensions = const void** (*)();
  void* real = dlopen(REAL_SWRAST_DRIVER, RTLD_NOW | RTLD_LOCAL);
  auto get = real == nullptr
                 ? nullptr
                 : reinterpret_cast<GetExtensions>(dlsym(real, "__driDriverGetExtensions_swrast"));
  return get == nullptr ? nullptr : get();
}
