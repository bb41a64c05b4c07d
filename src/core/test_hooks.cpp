#include "core/test_hooks.h"

#include <cstdlib>
#include <cstring>

DrawingFault drawing_fault() {
  static const DrawingFault fault = [] {
    const char* name = std::getenv("TARVELIN_FAULT");
    if (name == nullptr) return DrawingFault::none;
    const struct {
      const char* name;
      DrawingFault fault;
    } faults[] = {{"fog_off", DrawingFault::fog_off},
                  {"nearest_filter", DrawingFault::nearest_filter},
                  {"logic_copy", DrawingFault::logic_copy},
                  {"drop_face", DrawingFault::drop_face}};
    for (const auto& entry : faults) {
      if (std::strcmp(name, entry.name) == 0) return entry.fault;
    }
    return DrawingFault::none;
  }();
  return fault;
}
