// The 3D window's suite: the catalogue's 3D rows in order, on one scene.
#pragma once

#include "core/progress.h"
#include "scene3d/scene_state.h"

// Runs in the 3D window's first draw with its fresh GL context current: the
// scene set-up and probe (setup_scene), and unless in status-only mode the
// 3D projection and then every 3D row. A row's stage is entered where the
// row before it has another stage and left where the row after it has
// another (so a stage may come again after another), its polygon mode
// applied, and its kernel run unless the test is skipped.
void run_3d_suite(SuiteContext& context, SceneState& scene);
