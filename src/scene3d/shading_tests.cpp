#include "scene3d/shading_tests.h"

#include <GL/gl.h>

#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_state.h"

namespace {

// Lower light first on, higher light first off.
void point_lights_on() {
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHT1);
}
void point_lights_off() {
  glDisable(GL_LIGHT1);
  glDisable(GL_LIGHT0);
}
void spot_lights_on() {
  glEnable(GL_LIGHT2);
  glEnable(GL_LIGHT3);
}
void spot_lights_off() {
  glDisable(GL_LIGHT3);
  glDisable(GL_LIGHT2);
}

using namespace test_id;

constexpr AnimatedTest FLAT = {flat_shading,     LIST_LIT, 8,   point_lights_on,
                               point_lights_off, true,     true};
constexpr AnimatedTest SMOOTH = {smooth_shading,   LIST_LIT, 8,   point_lights_on,
                                 point_lights_off, true,     true};
constexpr AnimatedTest SPOT = {spot_light,      LIST_LIT, 8,   spot_lights_on,
                               spot_lights_off, true,     true};

}  // namespace

void run_shading_tests() {
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  build_flat_lit_list();
  glShadeModel(GL_FLAT);
  run_animated_test(FLAT);
  glDeleteLists(LIST_LIT, 1);

  build_smooth_lit_list();
  glShadeModel(GL_SMOOTH);
  run_animated_test(SMOOTH);
  run_animated_test(SPOT);
  glDeleteLists(LIST_LIT, 1);

  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
}
