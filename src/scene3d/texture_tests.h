// The mesh wrapped in the built-in picture: nearest and trilinear
// filtering, each clamped and repeated.
#pragma once

// Switches texturing on around the four tests; a test's filters and wrap
// modes are set only when it runs, so a skipped test leaves the previous
// test's in place.
void run_texture_tests();
