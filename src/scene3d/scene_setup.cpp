#include "scene3d/scene_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/environment_info.h"
#include "core/picture.h"
#include "core/test_window.h"

namespace {

constexpr double STEP_ANGLE_X = 0.25132741228718347;             // 2 pi / 25
constexpr double STEP_ANGLE_Y = 0.3141592653589793;              // pi / 10
constexpr double SPIN_DEGREES_PER_DRAW = 0.0006103701895199438;  // 20 / 32767

// One light parameter; three or four values go to glLightfv, one to glLightf.
struct LightCall {
  GLenum light;
  GLenum parameter;
  int size;
  GLfloat value[4];
};

// The four lights in the order their parameters are set. Two point lights
// for the shading tests; two spot lights at one place, differing in
// cut-off and attenuation, for the spot-light test.
constexpr LightCall LIGHT_CALLS[] = {
    {GL_LIGHT0, GL_POSITION, 4, {25.0f, 25.0f, -25.0f, 1.0f}},
    {GL_LIGHT0, GL_AMBIENT, 4, {0.2f, 0.2f, 0.2f, 1.0f}},
    {GL_LIGHT0, GL_DIFFUSE, 4, {0.7f, 0.7f, 0.7f, 1.0f}},
    {GL_LIGHT0, GL_SPECULAR, 4, {0.8f, 0.8f, 0.8f, 1.0f}},
    {GL_LIGHT1, GL_POSITION, 4, {-25.0f, -25.0f, 25.0f, 1.0f}},
    {GL_LIGHT1, GL_AMBIENT, 4, {0.0f, 0.0f, 0.0f, 1.0f}},
    {GL_LIGHT1, GL_DIFFUSE, 4, {0.1f, 0.1f, 0.1f, 1.0f}},
    {GL_LIGHT1, GL_SPECULAR, 4, {0.2f, 0.2f, 0.2f, 1.0f}},
    {GL_LIGHT2, GL_POSITION, 4, {5.0f, -5.0f, -15.0f, 1.0f}},
    {GL_LIGHT2, GL_SPOT_DIRECTION, 3, {0.0f, 0.0f, 10.0f}},
    {GL_LIGHT2, GL_AMBIENT, 4, {0.9f, 0.9f, 0.9f, 1.0f}},
    {GL_LIGHT2, GL_DIFFUSE, 4, {0.7f, 0.7f, 0.7f, 1.0f}},
    {GL_LIGHT2, GL_SPECULAR, 4, {0.3f, 0.3f, 0.3f, 1.0f}},
    {GL_LIGHT2, GL_CONSTANT_ATTENUATION, 1, {2.0f}},
    {GL_LIGHT2, GL_LINEAR_ATTENUATION, 1, {0.0f}},
    {GL_LIGHT2, GL_QUADRATIC_ATTENUATION, 1, {0.0f}},
    {GL_LIGHT2, GL_SPOT_CUTOFF, 1, {20.0f}},
    {GL_LIGHT2, GL_SPOT_EXPONENT, 1, {2.0f}},
    {GL_LIGHT3, GL_POSITION, 4, {5.0f, -5.0f, -15.0f, 1.0f}},
    {GL_LIGHT3, GL_SPOT_DIRECTION, 3, {0.0f, 0.0f, 10.0f}},
    {GL_LIGHT3, GL_AMBIENT, 4, {0.9f, 0.9f, 0.9f, 1.0f}},
    {GL_LIGHT3, GL_DIFFUSE, 4, {0.7f, 0.7f, 0.7f, 1.0f}},
    {GL_LIGHT3, GL_SPECULAR, 4, {0.3f, 0.3f, 0.3f, 1.0f}},
    {GL_LIGHT3, GL_CONSTANT_ATTENUATION, 1, {1.0f}},
    {GL_LIGHT3, GL_LINEAR_ATTENUATION, 1, {0.1f}},
    {GL_LIGHT3, GL_QUADRATIC_ATTENUATION, 1, {0.0f}},
    {GL_LIGHT3, GL_SPOT_CUTOFF, 1, {22.5f}},
    {GL_LIGHT3, GL_SPOT_EXPONENT, 1, {2.0f}},
};

constexpr GLfloat FOG_COLOUR[4] = {0.0f, 0.0f, 0.2f, 1.0f};

// A copy of the string; `current` when GL gave none.
std::optional<std::string> copy_gl_string(GLenum name, const std::optional<std::string>& current) {
  const GLubyte* text = glGetString(name);
  if (text == nullptr) return current;
  return std::string(reinterpret_cast<const char*>(text));
}

void capture_strings(EnvironmentInfo& info) {
  if (!info.strings_captured) {
    info.vendor_string = copy_gl_string(GL_VENDOR, info.vendor_string);
    info.renderer_string = copy_gl_string(GL_RENDERER, info.renderer_string);
    info.version_string = copy_gl_string(GL_VERSION, info.version_string);
    info.extensions_string = copy_gl_string(GL_EXTENSIONS, info.extensions_string);
    info.acceleration = platform::current_gl_acceleration();
  }
  info.strings_captured = true;
}

// The depths the 3D window's pixel format was granted, in the order they
// are queried; the depth buffer's goes back into the request for the next
// window.
void read_bit_depths(EnvironmentInfo& info) {
  const struct {
    GLenum name;
    int32_t* field;
  } queries[] = {
      {GL_DEPTH_BITS, &info.depth_bits_3d},        {GL_STENCIL_BITS, &info.stencil_bits},
      {GL_ACCUM_RED_BITS, &info.accum_red_bits},   {GL_ACCUM_GREEN_BITS, &info.accum_green_bits},
      {GL_ACCUM_BLUE_BITS, &info.accum_blue_bits}, {GL_RED_BITS, &info.red_bits_3d},
      {GL_GREEN_BITS, &info.green_bits_3d},        {GL_BLUE_BITS, &info.blue_bits_3d},
  };
  for (const auto& query : queries) {
    GLint value = 0;
    glGetIntegerv(query.name, &value);
    *query.field = value;
  }
}

void clear_and_show(TestWindow& window) {
  glClearColor(0.0f, 0.0f, 0.2f, 0.0f);
  glClearDepth(1.0);
  glClearAccum(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  window.swap_buffers();
}

void set_fog_parameters() {
  glFogf(GL_FOG_START, 5.0f);
  glFogf(GL_FOG_END, 15.0f);
  glFogi(GL_FOG_MODE, GL_EXP2);
  glFogf(GL_FOG_DENSITY, 0.175f);
  glFogfv(GL_FOG_COLOR, FOG_COLOUR);
}

// Stencil 1 at the pixels with x + y odd, so that the stencil test later
// lets a one-pixel checkerboard through. The depth buffer has not been
// cleared yet, so the stencil is written whatever the depth test says.
void draw_stencil_checkerboard() {
  glClearStencil(0);
  glEnable(GL_STENCIL_TEST);
  glViewport(0, 0, TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
  glClear(GL_STENCIL_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, TEST_WINDOW_WIDTH - 1, 0.0, TEST_WINDOW_HEIGHT - 1, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glStencilFunc(GL_ALWAYS, 1, 1);
  glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
  glBegin(GL_POINTS);
  for (GLint y = 0; y < TEST_WINDOW_HEIGHT; ++y) {
    for (GLint x = 0; x < TEST_WINDOW_WIDTH; ++x) {
      if ((x + y) % 2 == 1) glVertex2i(x, y);
    }
  }
  glEnd();
  glFlush();
  glStencilFunc(GL_EQUAL, 1, 1);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glDisable(GL_STENCIL_TEST);
}

void load_texture(const unsigned char* texture_image) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, PICTURE_SIZE, PICTURE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE,
                    texture_image);
  glTexImage2D(GL_TEXTURE_2D, 0, 4, PICTURE_SIZE, PICTURE_SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               texture_image);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace

void set_lights() {
  for (const LightCall& call : LIGHT_CALLS) {
    if (call.size == 1) {
      glLightf(call.light, call.parameter, call.value[0]);
    } else {
      glLightfv(call.light, call.parameter, call.value);
    }
  }
}

void setup_scene(SceneSession& session) {
  EnvironmentInfo& info = session.context.state.environment_info;
  SceneState& scene = session.scene;
  capture_strings(info);
  read_bit_depths(info);
  if (info.red_bits_3d >= 8 && info.green_bits_3d >= 8 && info.blue_bits_3d >= 8) {
    glDisable(GL_DITHER);
  }
  clear_and_show(session.context.window);

  scene.step_sin_x = std::sin(STEP_ANGLE_X);
  scene.step_cos_x = std::cos(STEP_ANGLE_X);
  scene.step_sin_y = std::sin(STEP_ANGLE_Y);
  scene.step_cos_y = std::cos(STEP_ANGLE_Y);
  BenchRand& rand = session.context.state.rand;
  scene.spin_angle_x = rand.bench_rand() * SPIN_DEGREES_PER_DRAW;
  scene.spin_angle_y = rand.bench_rand() * SPIN_DEGREES_PER_DRAW;

  glEnable(GL_DEPTH_TEST);
  glFrontFace(GL_CCW);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  set_fog_parameters();
  draw_stencil_checkerboard();
  glLoadMatrixf(scene.scene_matrix);
  std::memcpy(scene.lights_matrix, scene.scene_matrix, sizeof scene.lights_matrix);
  set_lights();
  load_texture(source_image);
}

void set_perspective(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, static_cast<double>(width) / static_cast<double>(height), 5.0, 15.0);
  glMatrixMode(GL_MODELVIEW);
  glViewport(0, 0, width, height);
}
