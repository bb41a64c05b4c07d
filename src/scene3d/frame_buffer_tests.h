// Tests of the frame buffer: bare buffer swaps, drawing through the
// stencil test, averaging frames in the accumulation buffer and a motion
// blur trail through it.
#pragma once

// "Swap Buffer": one untimed frame, then only swaps are timed. Builds
// LIST_VERTEX_SHADE and leaves it defined.
void run_swap_test();

// "Stencil Buffer", "Accumlation Buffer" and "Motion Blur" on
// LIST_VERTEX_SHADE. With the automatic check on, a test whose buffer the
// window lacks is marked skipped for this pass instead of being timed: the
// stencil test after its title, the two accumulation tests together before
// either title.
void run_buffer_tests();
