// The steps of the frame-buffer kernels (rows of SCENE_KERNELS): bare
// buffer swaps, drawing through the stencil test, averaging frames in the
// accumulation buffer and a motion blur trail through it. Each runs only
// for a test that is not skipped, with the 3D projection set.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "core/catalogue.h"
#include "scene3d/scene_kernels.h"
#include "scene3d/scene_state.h"

// "Swap Buffer". Off-screen there is one colour buffer, so a swap does
// nothing and its time would mean nothing: the test is passed over. Else
// builds LIST_VERTEX_SHADE and leaves it defined.
KernelSkip prepare_swap_test(SceneSession& session);
// The frame the swaps show: the window cleared and shown, the matrix read
// back, then one rotated frame of the vertex-coloured mesh.
void draw_swap_frame(SceneSession& session, const TestInfo& test);
// `swaps` bare swaps; the list is not drawn.
void swap_frames(SceneSession& session, GLuint list, int32_t swaps);

// "Stencil Buffer": the stencil test on, letting only the checkerboard's
// pixels receive the mesh (the list's clear still clears everything). With
// the automatic check on and no stencil bits, the test is passed over.
KernelSkip stencil_on(SceneSession& session);
void stencil_off(SceneSession& session);

// What both accumulation tests do before their frames: the accumulation
// buffer cleared and the matrix read back.
void begin_accumulation(SceneSession& session, const TestInfo& test);
// "Accumlation Buffer": n frames each added with weight 1/n, then the
// average returned and flushed; show_average is the swap that shows it.
void accumulate_frames(SceneSession& session, GLuint list, int32_t frames);
void show_average(SceneSession& session);
// "Motion Blur": each shown frame is half the new frame and half the one
// shown before, so older frames fade by half per frame.
void blur_frames(SceneSession& session, GLuint list, int32_t frames);
