#include "scene3d/surface_mesh.h"

#include <algorithm>
#include <cmath>

namespace {

// The constants are kept literally as the reference values were tabulated
// (2*pi/12.8, 2*pi/128, 2*pi/63, 10/63, a twelve-digit 1/sqrt(3) and 1/pi)
// so that every build draws the same object with the same grey levels.
constexpr double RIPPLE_STEP = 0.4908738521234052;
constexpr double SWELL_STEP = 0.04908738521234052;
constexpr double ANGLE_STEP = 0.09973310011396168;
constexpr double ROW_SPACING = 0.15873015873015872;
constexpr double START_X = -5.0;
constexpr double LIGHT_COMPONENT = 0.577350269189;
constexpr double INVERSE_PI = 0.3183098861837907;
constexpr double MIN_SHADE = 0.1;

constexpr int HALF_ROWS = MESH_POINTS / 2;
constexpr int SEAM_FACE = MESH_FACES - 1;

MeshPoint normalised(const MeshPoint& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length};
}

// Rows 0..31 carry the profile; rows 32..63 mirror it about x = 0. The
// running x goes on through both halves, so the far pole lands on x = 5
// up to the rounding of 63 additions.
void build_points(SurfaceMesh& mesh) {
  double x = START_X;
  for (int i = 0; i < HALF_ROWS; ++i) {
    const double a = i * RIPPLE_STEP;
    const double b = i * SWELL_STEP;
    const double r = (std::cos(a) - 1.0 - 3.0 * std::sin(b)) / 2.0;
    for (int j = 0; j < MESH_POINTS; ++j) {
      const double theta = j * ANGLE_STEP;
      const double c = std::cos(theta);
      const double s = std::sin(theta);
      mesh.mesh_vertex[i][j] = {x, r * c - r * s, (s + c) * r};
    }
    x += ROW_SPACING;
  }
  for (int i = HALF_ROWS; i < MESH_POINTS; ++i) {
    const MeshPoint* mirror = mesh.mesh_vertex[MESH_POINTS - 1 - i];
    for (int j = 0; j < MESH_POINTS; ++j) {
      mesh.mesh_vertex[i][j] = {x, mirror[j].y, mirror[j].z};
    }
    x += ROW_SPACING;
  }
}

// Newell's method stays exact for the triangles at the poles, where two
// corners coincide and a single cross product of edges could vanish.
void build_face_normals(SurfaceMesh& mesh) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      const MeshPoint corner[5] = {mesh.mesh_vertex[i][j], mesh.mesh_vertex[i][j + 1],
                                   mesh.mesh_vertex[i + 1][j + 1], mesh.mesh_vertex[i + 1][j],
                                   mesh.mesh_vertex[i][j]};
      MeshPoint sum = {0.0, 0.0, 0.0};
      for (int k = 0; k < 4; ++k) {
        const MeshPoint& p = corner[k];
        const MeshPoint& q = corner[k + 1];
        sum.x += (p.y - q.y) * (p.z + q.z);
        sum.y += (p.z - q.z) * (p.x + q.x);
        sum.z += (q.y - p.y) * (p.x + q.x);
      }
      // The sum is the right-hand normal of the cycle, which points out of
      // the body; negated, it is the right-hand normal of the reverse order
      // the lit tests draw the corners in, and points inward.
      mesh.mesh_face_normal[i][j] = normalised({-sum.x, -sum.y, -sum.z});
    }
  }
}

void build_face_shades(SurfaceMesh& mesh) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      mesh.mesh_face_shade[i][j] = shade_from_normal(mesh.mesh_face_normal[i][j]);
    }
  }
}

// The four faces around point (i, j) of rows 1..62, in the order they are
// summed. The seam columns 0 and 63 both take faces of columns 62 and 0,
// so the two copies of a seam point get the same normal.
MeshPoint average_of_faces_around(const SurfaceMesh& mesh, int i, int j) {
  const int left = (j == 0 || j == MESH_FACES) ? SEAM_FACE : j - 1;
  const int right = (j == 0 || j == MESH_FACES) ? 0 : j;
  const MeshPoint* faces[4] = {&mesh.mesh_face_normal[i - 1][left],
                               &mesh.mesh_face_normal[i - 1][right],
                               &mesh.mesh_face_normal[i][left], &mesh.mesh_face_normal[i][right]};
  MeshPoint sum = {0.0, 0.0, 0.0};
  for (const MeshPoint* f : faces) {
    sum.x += f->x;
    sum.y += f->y;
    sum.z += f->z;
  }
  return normalised({sum.x * 0.25, sum.y * 0.25, sum.z * 0.25});
}

// The poles get the axis direction pointing away from the body: the faces
// around them give no single normal.
void build_vertex_normals(SurfaceMesh& mesh) {
  for (int j = 0; j < MESH_POINTS; ++j) {
    mesh.mesh_vertex_normal[0][j] = {-1.0, 0.0, 0.0};
    mesh.mesh_vertex_normal[MESH_POINTS - 1][j] = {1.0, 0.0, 0.0};
  }
  for (int i = 1; i < MESH_POINTS - 1; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      mesh.mesh_vertex_normal[i][j] = average_of_faces_around(mesh, i, j);
    }
  }
}

void build_vertex_shades(SurfaceMesh& mesh) {
  for (int i = 0; i < MESH_POINTS; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      mesh.mesh_vertex_shade[i][j] = shade_from_normal(mesh.mesh_vertex_normal[i][j]);
    }
  }
}

}  // namespace

float shade_from_normal(const MeshPoint& n) {
  double c = LIGHT_COMPONENT * n.z - LIGHT_COMPONENT * (n.x + n.y);
  c = std::clamp(c, -1.0, 1.0);
  double s = std::acos(c) * INVERSE_PI + MIN_SHADE;
  if (s > 1.0) s = 1.0;
  return static_cast<float>(s);
}

// Each step reads only what the steps before it wrote.
void build_surface_mesh(SurfaceMesh& mesh) {
  build_points(mesh);
  build_face_normals(mesh);
  build_face_shades(mesh);
  build_vertex_normals(mesh);
  build_vertex_shades(mesh);
}
