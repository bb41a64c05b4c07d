// The GL meaning of the 3D rows' settings: what each stage sets up and takes
// down, which display list it draws, and what each draw state and polygon
// mode switches. Constant tables indexed by the catalogue's enums.
#pragma once

#include <GL/gl.h>

#include "core/catalogue.h"
#include "scene3d/scene_state.h"

// Whether 3D row `id` opens a run of its stage's rows (the row before it
// has another stage, or there is none) or closes one (the row after it has
// another stage, or there is none). A stage may come again after another;
// each run of its rows is set up and taken down on its own.
constexpr bool opens_stage_run(int id) {
  return id == FIRST_3D_TEST ||
         test_catalogue[id - 1].scene.stage != test_catalogue[id].scene.stage;
}
constexpr bool closes_stage_run(int id) {
  return id == LAST_3D_TEST || test_catalogue[id + 1].scene.stage != test_catalogue[id].scene.stage;
}

// The display list the stage's tests draw.
GLuint stage_list(Stage stage);

// Run as each run of a stage's rows opens (with its first row) and as it
// closes, whether its tests run or not: display lists built and deleted,
// shade model, lighting and texturing switched. Entering the accumulation
// stage is also its automatic check: with auto_pass on and no accumulation
// buffer, every row of that run of the stage is marked skipped before any
// title is shown.
void enter_stage(const TestInfo& first, SceneSession& session);
void leave_stage(Stage stage, SceneSession& session);

// glPolygonMode for both faces; nothing for PolygonMode::keep.
void apply_polygon_mode(PolygonMode mode);

// Switch a test's extra state on and off; nothing for DrawState::none.
// Texture filters and wrap modes have no "off": they stay for the next test.
void draw_state_on(DrawState state);
void draw_state_off(DrawState state);
