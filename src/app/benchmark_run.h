// Everything one run owns: the command line's words, the settings, the
// run's state with its results, the 3D scene and the progress shown. Made
// once by run_benchmark and handed down by reference through the set-up,
// the passes and the ending; nothing of it is process-wide.
#pragma once

#include "app/options.h"
#include "core/progress_title.h"
#include "core/run_options.h"
#include "core/run_state.h"
#include "judge/picture_checks.h"
#include "judge/validation.h"
#include "scene3d/scene_state.h"

struct BenchmarkRun {
  WordTable words;
  RunOptions run_options;
  RunState run_state;
  SceneState scene;
  ProgressTitle progress{run_options};
  Validation validation{run_options, run_state, progress};
  PictureChecks picture_checks{run_options, run_state, progress};
};
