// The unlit mesh as lines, points, wire frames and polygons, plain, under
// fog and antialiased.
#pragma once

// "Lines", "Lines and Fog", "Lines and Smooth" on LIST_LINES. Leaves the
// line width at 0.8 and the blend function set if "Lines and Smooth" ran.
void run_line_tests();

// Points, wire frames, flat- and vertex-coloured polygons on LIST_FACET_SHADE
// and LIST_VERTEX_SHADE. Leaves the polygon mode at fill, and the blend
// function (GL_SRC_ALPHA, GL_ONE) if "PolygonSmooth" ran.
void run_primitive_tests();
