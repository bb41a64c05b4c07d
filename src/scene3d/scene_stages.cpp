#include "scene3d/scene_stages.h"

#include <iterator>

#include "core/test_hooks.h"
#include "scene3d/mesh_lists.h"

namespace {

// --- Stages ---------------------------------------------------------------

void enter_lines(SceneSession& session, const TestInfo&) {
  build_line_list(session.scene.surface_mesh);
}
void enter_facets(SceneSession& session, const TestInfo&) {
  build_facet_shade_list(session.scene.surface_mesh);
}
void enter_vertex_shade(SceneSession& session, const TestInfo&) {
  build_vertex_shade_list(session.scene.surface_mesh);
}

void leave_lines(SceneSession&) { glDeleteLists(LIST_LINES, 1); }
void leave_facets(SceneSession&) { glDeleteLists(LIST_FACET_SHADE, 1); }
void leave_vertex_shade(SceneSession&) { glDeleteLists(LIST_VERTEX_SHADE, 1); }
void leave_lit(SceneSession&) { glDeleteLists(LIST_LIT, 1); }

bool accumulation_missing(const EnvironmentInfo& info) {
  return info.accum_red_bits == 0 || info.accum_green_bits == 0 || info.accum_blue_bits == 0;
}

// The rows of this run of the stage, from `first` on, are passed over
// before any title is shown: by their check, or off-screen, where no
// EGL configuration has an accumulation buffer, always (-no_autopass would
// time calls that fail).
void check_accumulation(SceneSession& session, const TestInfo& first) {
  SuiteContext& context = session.context;
  const bool offscreen = context.state.environment_info.offscreen();
  if (!offscreen &&
      (!context.options.auto_pass || !accumulation_missing(context.state.environment_info))) {
    return;
  }
  for (int id = first.id;; ++id) {
    const TestId test = test_catalogue[id].id;
    if (!context.skipped(test) && offscreen) {
      context.skipped_off_screen(test, "no accumulation buffer off-screen");
    } else if (!context.skipped(test)) {
      context.skipped_by_check(test, "no accumulation buffer");
    }
    if (closes_stage_run(id)) return;
  }
}

void enter_flat_lit(SceneSession& session, const TestInfo&) {
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  build_flat_lit_list(session.scene.surface_mesh);
  glShadeModel(GL_FLAT);
}

void enter_smooth_lit(SceneSession& session, const TestInfo&) {
  build_smooth_lit_list(session.scene.surface_mesh);
  glShadeModel(GL_SMOOTH);
}

// Deletes the lit list and turns lighting and colour material off. The
// lights themselves stay enabled, without effect while lighting is off, and
// the shade model stays smooth until the next stage sets its own.
void leave_smooth_lit(SceneSession&) {
  glDeleteLists(LIST_LIT, 1);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
}

// With the modulate environment and a white colour every fragment takes the
// filtered texel's colour.
void enter_textured(SceneSession& session, const TestInfo&) {
  build_textured_list(session.scene.surface_mesh);
  glShadeModel(GL_FLAT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
}

void leave_textured(SceneSession&) {
  glDisable(GL_TEXTURE_2D);
  glDeleteLists(LIST_TEXTURED, 1);
}

struct StageSteps {
  GLuint list;
  void (*enter)(SceneSession&, const TestInfo& first);  // may be null
  void (*leave)(SceneSession&);                         // may be null
};

// In Stage order. The swap test builds its list itself, and only when it
// runs; the list stays defined. The stencil and accumulation stages share
// one list, built as the stencil stage opens and deleted as the
// accumulation stage closes: an accumulation stage follows a stencil stage.
constexpr StageSteps STAGE_STEPS[] = {
    {0, nullptr, nullptr},                                        // none
    {LIST_VERTEX_SHADE, nullptr, nullptr},                        // swap
    {LIST_LINES, enter_lines, leave_lines},                       // lines
    {LIST_FACET_SHADE, enter_facets, leave_facets},               // facets
    {LIST_VERTEX_SHADE, enter_vertex_shade, leave_vertex_shade},  // vertex_shade
    {LIST_VERTEX_SHADE, enter_vertex_shade, nullptr},             // stencil
    {LIST_VERTEX_SHADE, check_accumulation, leave_vertex_shade},  // accumulation
    {LIST_LIT, enter_flat_lit, leave_lit},                        // flat_lit
    {LIST_LIT, enter_smooth_lit, leave_smooth_lit},               // smooth_lit
    {LIST_TEXTURED, enter_textured, leave_textured},              // textured
};
static_assert(std::size(STAGE_STEPS) == static_cast<size_t>(Stage::textured) + 1);

// A run of stencil rows hands its list to a run of accumulation rows, and
// only such a run draws from it.
constexpr bool stencil_list_handed_on() {
  for (int id = FIRST_3D_TEST; id <= LAST_3D_TEST; ++id) {
    const Stage stage = test_catalogue[id].scene.stage;
    if (stage == Stage::stencil && closes_stage_run(id) &&
        (id == LAST_3D_TEST || test_catalogue[id + 1].scene.stage != Stage::accumulation)) {
      return false;
    }
    if (stage == Stage::accumulation && opens_stage_run(id) &&
        (id == FIRST_3D_TEST || test_catalogue[id - 1].scene.stage != Stage::stencil)) {
      return false;
    }
  }
  return true;
}
static_assert(stencil_list_handed_on(), "accumulation rows follow stencil rows");

const StageSteps& steps(Stage stage) { return STAGE_STEPS[static_cast<int>(stage)]; }

// --- Draw states ----------------------------------------------------------

void fog_on() {
  if (drawing_fault() == DrawingFault::fog_off) return;
  glEnable(GL_FOG);
}
void fog_off() { glDisable(GL_FOG); }

// The line width and blend function stay behind for the tests after.
void smooth_lines_on() {
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(0.8f);
}
void smooth_lines_off() {
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_BLEND);
}

// Switches to fill itself; the blend function stays behind.
void smooth_polygons_on() {
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_BLEND);
  glEnable(GL_POLYGON_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}
void smooth_polygons_off() {
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_BLEND);
}

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

// Filters and wrap mode, in the order they are set.
template <GLint MIN_FILTER, GLint MAG_FILTER, GLint WRAP>
void texture_parameters() {
  const bool nearest = drawing_fault() == DrawingFault::nearest_filter;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearest ? GL_NEAREST : MIN_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, nearest ? GL_NEAREST : MAG_FILTER);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WRAP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WRAP);
}

struct DrawStateSteps {
  void (*on)();   // may be null
  void (*off)();  // may be null
};

// In DrawState order.
constexpr DrawStateSteps DRAW_STATE_STEPS[] = {
    {nullptr, nullptr},                                                           // none
    {fog_on, fog_off},                                                            // fog
    {smooth_lines_on, smooth_lines_off},                                          // smooth_lines
    {smooth_polygons_on, smooth_polygons_off},                                    // smooth_polygons
    {point_lights_on, point_lights_off},                                          // point_lights
    {spot_lights_on, spot_lights_off},                                            // spot_lights
    {texture_parameters<GL_NEAREST, GL_NEAREST, GL_CLAMP>, nullptr},              // nearest_clamp
    {texture_parameters<GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP>, nullptr},  // linear_clamp
    {texture_parameters<GL_NEAREST, GL_NEAREST, GL_REPEAT>, nullptr},             // nearest_repeat
    {texture_parameters<GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT>, nullptr},  // linear_repeat
};
static_assert(std::size(DRAW_STATE_STEPS) == static_cast<size_t>(DrawState::linear_repeat) + 1);

// In PolygonMode order; keep has none.
constexpr GLenum POLYGON_MODES[] = {0, GL_POINT, GL_LINE, GL_FILL};
static_assert(std::size(POLYGON_MODES) == static_cast<size_t>(PolygonMode::fill) + 1);

}  // namespace

GLuint stage_list(Stage stage) { return steps(stage).list; }

void enter_stage(const TestInfo& first, SceneSession& session) {
  const StageSteps& entered = steps(first.scene.stage);
  if (entered.enter != nullptr) entered.enter(session, first);
}

void leave_stage(Stage stage, SceneSession& session) {
  if (steps(stage).leave != nullptr) steps(stage).leave(session);
}

void apply_polygon_mode(PolygonMode mode) {
  if (mode == PolygonMode::keep) return;
  glPolygonMode(GL_FRONT_AND_BACK, POLYGON_MODES[static_cast<int>(mode)]);
}

void draw_state_on(DrawState state) {
  const DrawStateSteps& steps = DRAW_STATE_STEPS[static_cast<int>(state)];
  if (steps.on != nullptr) steps.on();
}

void draw_state_off(DrawState state) {
  const DrawStateSteps& steps = DRAW_STATE_STEPS[static_cast<int>(state)];
  if (steps.off != nullptr) steps.off();
}
