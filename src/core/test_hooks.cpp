#include "core/test_hooks.h"

#include <cstdlib>
#include <cstring>

#include "core/catalogue.h"

namespace {

// The value of a hook's variable; empty when it is unset.
const char* hook(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

GlVisualHook gl_visual_hook() {
  static const GlVisualHook visual = [] {
    const char* value = hook("TARVELIN_GL_VISUAL");
    if (std::strcmp(value, "plain") == 0) return GlVisualHook::plain;
    if (std::strcmp(value, "none") == 0) return GlVisualHook::none;
    return GlVisualHook::normal;
  }();
  return visual;
}

bool logic_ops_held_off() {
  static const bool off = std::strcmp(hook("TARVELIN_LOGIC_OPS"), "off") == 0;
  return off;
}

int slowed_test() {
  static const int id = find_test_by_keyword(hook("TARVELIN_SLOW_TEST"));
  return id;
}

DrawingFault drawing_fault() {
  static const DrawingFault fault = [] {
    const char* name = hook("TARVELIN_FAULT");
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

std::vector<std::string> hooks_in_effect() {
  const struct {
    const char* name;
    bool in_effect;
  } hooks[] = {
      {"TARVELIN_GL_VISUAL", gl_visual_hook() != GlVisualHook::normal},
      {"TARVELIN_LOGIC_OPS", logic_ops_held_off()},
      {"TARVELIN_FAULT", drawing_fault() != DrawingFault::none},
      {"TARVELIN_SLOW_TEST", slowed_test() >= 0},
  };
  std::vector<std::string> named;
  for (const auto& entry : hooks) {
    if (entry.in_effect) named.push_back(std::string(entry.name) + "=" + hook(entry.name));
  }
  return named;
}
