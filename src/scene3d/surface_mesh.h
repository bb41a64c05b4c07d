// The one object every 3D test draws: a rippled spindle along the x axis
// from x = -5 to x = +5, closed to a point at both ends, with its normals
// and grey levels for one fixed light direction.
#pragma once

struct MeshPoint {
  double x, y, z;
};

// Rows and columns of grid points; rows run along x, columns around the axis.
constexpr int MESH_POINTS = 64;
constexpr int MESH_FACES = MESH_POINTS - 1;

// The object's grid, normals and grey levels; zero until build_surface_mesh has
// filled it, read-only after.
//
// mesh_vertex[i][j] is grid point V(i, j). Row 0 is the pole (-5, 0, 0),
// row 63 the pole (5, 0, 0); column 63 repeats column 0 up to rounding.
//
// Face (i, j) has the corners V(i, j), V(i + 1, j), V(i + 1, j + 1),
// V(i, j + 1); its normal is the counter-clockwise normal of that order,
// a unit vector pointing into the body. The faces of rows 0 and 62 are
// triangles (two corners lie on the pole) but still have proper normals.
//
// Vertex normals are unit vectors pointing into the body, except the pole
// rows: (-1, 0, 0) for row 0 and (1, 0, 0) for row 63. Both seam columns
// hold the same normal.
//
// Shades are grey levels in [0.1, 1.0], from shade_from_normal.
struct SurfaceMesh {
  MeshPoint mesh_vertex[MESH_POINTS][MESH_POINTS];
  MeshPoint mesh_face_normal[MESH_FACES][MESH_FACES];
  float mesh_face_shade[MESH_FACES][MESH_FACES];
  MeshPoint mesh_vertex_normal[MESH_POINTS][MESH_POINTS];
  float mesh_vertex_shade[MESH_POINTS][MESH_POINTS];
};

// Fills every array of the mesh. Called once at start-up, before any window
// exists; allocates nothing and cannot fail.
void build_surface_mesh(SurfaceMesh& mesh);

// Grey level of a unit normal n: 0.1 plus the angle, over pi, between n and
// the light direction (-1, -1, 1)/sqrt(3), capped at 1.0. Normals pointing
// into the body thus make the faces that look toward the light bright.
float shade_from_normal(const MeshPoint& n);
