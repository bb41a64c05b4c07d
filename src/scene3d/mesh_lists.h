// Display lists of the mesh. Every list starts with a compiled clear of
// colour and depth and draws the 3,969 faces as separate primitives, face
// rows outer, columns inner, corners in the order V(i, j), V(i+1, j),
// V(i+1, j+1), V(i, j+1).
#pragma once

#include "scene3d/surface_mesh.h"

// LIST_LINES: one grey, then a line loop per face.
void build_line_list(const SurfaceMesh& mesh);
// LIST_FACET_SHADE: one quad per face with the face's grey before its
// first corner.
void build_facet_shade_list(const SurfaceMesh& mesh);
// LIST_VERTEX_SHADE: one quad per face with each corner's grey before it.
void build_vertex_shade_list(const SurfaceMesh& mesh);
// The grey that LIST_VERTEX_SHADE leaves as the current colour: its last
// face's last corner's.
float vertex_shade_list_last_grey(const SurfaceMesh& mesh);

// LIST_LIT, flat version: one normal per face. Both lit versions start with
// the clear, colour material on the ambient reflectance and a blue colour.
void build_flat_lit_list(const SurfaceMesh& mesh);
// LIST_LIT, smooth version: each corner's own normal before it.
void build_smooth_lit_list(const SurfaceMesh& mesh);
// LIST_TEXTURED: one normal per face, then per corner the texture
// coordinate (column / 64, (64 - row) / 64) before the vertex.
void build_textured_list(const SurfaceMesh& mesh);
