// The test hooks: environment variables through which the tests make the
// program meet what this machine cannot show them (a GL without stencil or
// accumulation buffers, logic operations without effect) or plant a fault
// that a check must catch. A normal run sets none and behaves as if they did
// not exist. Only this file reads them; the platform layer below is told
// what it needs through its requests.
//
//   TARVELIN_GL_VISUAL=plain  the 3D window asks for no stencil and no
//                             accumulation buffer (X and off-screen)
//   TARVELIN_GL_VISUAL=none   no GL visual or EGL configuration is found
//   TARVELIN_LOGIC_OPS=off    the 2D window leaves logic operations disabled,
//                             so that their automatic check finds no effect
//   TARVELIN_FAULT=<fault>    a fault planted in the drawing (DrawingFault)
//   TARVELIN_SLOW_TEST=<keyword>
//                             the test of that keyword runs twice its count,
//                             so that a comparison has a slower run to find
//
// A new hook gets its variable and its question here, read once, and its
// line in the table above; nothing else reads the environment for it.
#pragma once

#include <string>
#include <vector>

enum class GlVisualHook {
  normal,
  plain,  // no stencil or accumulation buffer asked for
  none,   // no visual or configuration to be had
};

enum class DrawingFault {
  none,
  fog_off,         // the fog tests draw without fog
  nearest_filter,  // the linear texture tests filter with GL_NEAREST
  logic_copy,      // the GL_XOR tests draw with GL_COPY once their check has passed
  drop_face,       // one face of the mesh is left out of every display list
};

GlVisualHook gl_visual_hook();
bool logic_ops_held_off();
DrawingFault drawing_fault();
// The TestId TARVELIN_SLOW_TEST names, or -1.
int slowed_test();

// Each hook that changes this run, as "TARVELIN_NAME=value" in the table's
// order; empty for a normal run. A value a hook does not know changes
// nothing and is not named. The report, the result files and the verdict
// name them: the run did not measure the GL as it is.
std::vector<std::string> hooks_in_effect();
