#include "scene3d/texture_tests.h"

#include <GL/gl.h>

#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_state.h"

namespace {

// Filters and wrap mode, in the order they are set.
template <GLint MIN_FILTER, GLint MAG_FILTER, GLint WRAP>
void texture_parameters() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, MIN_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, MAG_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WRAP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WRAP);
}

using namespace test_id;

constexpr AnimatedTest TEXTURE_TESTS[] = {
    {texture_fast_GL_CLAMP, LIST_TEXTURED, 9, texture_parameters<GL_NEAREST, GL_NEAREST, GL_CLAMP>,
     nullptr, true},
    {texture_real_GL_CLAMP, LIST_TEXTURED, 10,
     texture_parameters<GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP>, nullptr, true},
    {texture_fast_GL_REPEAT, LIST_TEXTURED, 9,
     texture_parameters<GL_NEAREST, GL_NEAREST, GL_REPEAT>, nullptr, true},
    {texture_real_GL_REPEAT, LIST_TEXTURED, 10,
     texture_parameters<GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT>, nullptr, true},
};

}  // namespace

void run_texture_tests() {
  build_textured_list();
  // With the modulate environment and a white colour every fragment takes
  // the filtered texel's colour.
  glShadeModel(GL_FLAT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (const AnimatedTest& test : TEXTURE_TESTS) run_animated_test(test);
  glDisable(GL_TEXTURE_2D);
  glDeleteLists(LIST_TEXTURED, 1);
}
