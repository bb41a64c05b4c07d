#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "scene3d/surface_mesh.h"

namespace {

constexpr int LAST_ROW = MESH_POINTS - 1;
constexpr int LAST_COLUMN = MESH_POINTS - 1;

MeshPoint minus(const MeshPoint& a, const MeshPoint& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

MeshPoint cross(const MeshPoint& a, const MeshPoint& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const MeshPoint& a, const MeshPoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double length(const MeshPoint& a) { return std::sqrt(dot(a, a)); }

bool finite(const MeshPoint& a) {
  return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

// The grid point straight from the profile, with pi from the library rather
// than the tabulated step constants.
MeshPoint expected_point(int i, int j) {
  const double pi = std::numbers::pi;
  const int profile_row = i < MESH_POINTS / 2 ? i : LAST_ROW - i;
  const double r =
      (std::cos(profile_row * 2 * pi / 12.8) - 1 - 3 * std::sin(profile_row * 2 * pi / 128)) / 2;
  const double theta = j * 2 * pi / 63;
  return {-5 + i * 10.0 / 63, r * (std::cos(theta) - std::sin(theta)),
          r * (std::sin(theta) + std::cos(theta))};
}

// Built once for the whole suite: about 300 KB, kept off the stack.
const SurfaceMesh& built_mesh() {
  static SurfaceMesh mesh;
  static const bool built = (build_surface_mesh(mesh), true);
  (void)built;
  return mesh;
}

class SurfaceMeshTest : public ::testing::Test {
 protected:
  const SurfaceMesh& mesh = built_mesh();
  const MeshPoint (&mesh_vertex)[MESH_POINTS][MESH_POINTS] = mesh.mesh_vertex;
  const MeshPoint (&mesh_face_normal)[MESH_FACES][MESH_FACES] = mesh.mesh_face_normal;
  const float (&mesh_face_shade)[MESH_FACES][MESH_FACES] = mesh.mesh_face_shade;
  const MeshPoint (&mesh_vertex_normal)[MESH_POINTS][MESH_POINTS] = mesh.mesh_vertex_normal;
  const float (&mesh_vertex_shade)[MESH_POINTS][MESH_POINTS] = mesh.mesh_vertex_shade;
};

TEST_F(SurfaceMeshTest, EndRowsCollapseToThePoles) {
  for (int j = 0; j < MESH_POINTS; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(mesh_vertex[0][j].x, -5.0);
    EXPECT_EQ(mesh_vertex[0][j].y, 0.0);
    EXPECT_EQ(mesh_vertex[0][j].z, 0.0);
    EXPECT_NEAR(mesh_vertex[LAST_ROW][j].x, 5.0, 1e-12);
    EXPECT_EQ(mesh_vertex[LAST_ROW][j].y, 0.0);
    EXPECT_EQ(mesh_vertex[LAST_ROW][j].z, 0.0);
  }
}

TEST_F(SurfaceMeshTest, PointsFollowTheRippledProfile) {
  const int spots[][2] = {{1, 0}, {5, 16}, {31, 40}, {32, 40}, {47, 63}, {62, 1}};
  for (const auto& spot : spots) {
    SCOPED_TRACE(testing::Message() << "V(" << spot[0] << ", " << spot[1] << ")");
    const MeshPoint& v = mesh_vertex[spot[0]][spot[1]];
    const MeshPoint e = expected_point(spot[0], spot[1]);
    EXPECT_NEAR(v.x, e.x, 1e-12);
    EXPECT_NEAR(v.y, e.y, 1e-12);
    EXPECT_NEAR(v.z, e.z, 1e-12);
  }
  // Every inner ring has a real radius, or the faces beside it would vanish.
  for (int i = 1; i < LAST_ROW; ++i) {
    EXPECT_GT(std::hypot(mesh_vertex[i][0].y, mesh_vertex[i][0].z), 0.1) << "row " << i;
  }
}

TEST_F(SurfaceMeshTest, RowsMirrorAboutTheMiddle) {
  for (int i = MESH_POINTS / 2; i < MESH_POINTS; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      SCOPED_TRACE(testing::Message() << "V(" << i << ", " << j << ")");
      const MeshPoint& v = mesh_vertex[i][j];
      const MeshPoint& m = mesh_vertex[LAST_ROW - i][j];
      EXPECT_EQ(v.y, m.y);
      EXPECT_EQ(v.z, m.z);
      EXPECT_NEAR(v.x, -m.x, 1e-12);
    }
  }
}

TEST_F(SurfaceMeshTest, SeamColumnsCoincide) {
  for (int i = 0; i < MESH_POINTS; ++i) {
    SCOPED_TRACE(i);
    const MeshPoint& first = mesh_vertex[i][0];
    const MeshPoint& last = mesh_vertex[i][LAST_COLUMN];
    EXPECT_EQ(last.x, first.x);
    EXPECT_NEAR(last.y, first.y, 1e-12);
    EXPECT_NEAR(last.z, first.z, 1e-12);
    const MeshPoint& n_first = mesh_vertex_normal[i][0];
    const MeshPoint& n_last = mesh_vertex_normal[i][LAST_COLUMN];
    EXPECT_EQ(n_last.x, n_first.x);
    EXPECT_EQ(n_last.y, n_first.y);
    EXPECT_EQ(n_last.z, n_first.z);
    EXPECT_EQ(mesh_vertex_shade[i][LAST_COLUMN], mesh_vertex_shade[i][0]);
  }
}

TEST_F(SurfaceMeshTest, AllNormalsAreFiniteUnitVectors) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      SCOPED_TRACE(testing::Message() << "face (" << i << ", " << j << ")");
      ASSERT_TRUE(finite(mesh_face_normal[i][j]));
      EXPECT_NEAR(length(mesh_face_normal[i][j]), 1.0, 1e-12);
    }
  }
  for (int i = 0; i < MESH_POINTS; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      SCOPED_TRACE(testing::Message() << "point (" << i << ", " << j << ")");
      ASSERT_TRUE(finite(mesh_vertex[i][j]));
      ASSERT_TRUE(finite(mesh_vertex_normal[i][j]));
      EXPECT_NEAR(length(mesh_vertex_normal[i][j]), 1.0, 1e-12);
    }
  }
}

// The lit and textured tests give the corners in the order V(i, j),
// V(i+1, j), V(i+1, j+1), V(i, j+1) and rely on the normal being the
// right-hand normal of that order. The cross product of the diagonals is
// that normal for any quadrilateral, the pole triangles included.
TEST_F(SurfaceMeshTest, FaceNormalIsTheRightHandNormalOfTheDrawingOrder) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      SCOPED_TRACE(testing::Message() << "face (" << i << ", " << j << ")");
      const MeshPoint& p0 = mesh_vertex[i][j];
      const MeshPoint& p1 = mesh_vertex[i + 1][j];
      const MeshPoint& p2 = mesh_vertex[i + 1][j + 1];
      const MeshPoint& p3 = mesh_vertex[i][j + 1];
      const MeshPoint area = cross(minus(p2, p0), minus(p3, p1));
      const double a = length(area);
      ASSERT_GT(a, 0.0);
      const MeshPoint& n = mesh_face_normal[i][j];
      EXPECT_NEAR(n.x, area.x / a, 1e-9);
      EXPECT_NEAR(n.y, area.y / a, 1e-9);
      EXPECT_NEAR(n.z, area.z / a, 1e-9);
    }
  }
  // The same for one inner face from two of its edges, independent of the
  // diagonal identity.
  const MeshPoint& p0 = mesh_vertex[20][10];
  const MeshPoint edge_normal =
      cross(minus(mesh_vertex[21][10], p0), minus(mesh_vertex[20][11], p0));
  EXPECT_GT(dot(edge_normal, mesh_face_normal[20][10]) / length(edge_normal), 0.999);
}

TEST_F(SurfaceMeshTest, FaceNormalsPointIntoTheBody) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      SCOPED_TRACE(testing::Message() << "face (" << i << ", " << j << ")");
      const MeshPoint corners[4] = {mesh_vertex[i][j], mesh_vertex[i][j + 1],
                                    mesh_vertex[i + 1][j + 1], mesh_vertex[i + 1][j]};
      MeshPoint outward = {0.0, 0.0, 0.0};
      for (const MeshPoint& c : corners) {
        outward.y += c.y / 4;
        outward.z += c.z / 4;
      }
      ASSERT_GT(length(outward), 0.0);
      EXPECT_LT(dot(mesh_face_normal[i][j], outward), 0.0);
    }
  }
}

TEST_F(SurfaceMeshTest, VertexNormalsPointInwardExceptAtThePoles) {
  for (int i = 1; i < LAST_ROW; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      SCOPED_TRACE(testing::Message() << "point (" << i << ", " << j << ")");
      const MeshPoint outward = {0.0, mesh_vertex[i][j].y, mesh_vertex[i][j].z};
      EXPECT_LT(dot(mesh_vertex_normal[i][j], outward), 0.0);
    }
  }
  for (int j = 0; j < MESH_POINTS; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(mesh_vertex_normal[0][j].x, -1.0);
    EXPECT_EQ(mesh_vertex_normal[0][j].y, 0.0);
    EXPECT_EQ(mesh_vertex_normal[0][j].z, 0.0);
    EXPECT_EQ(mesh_vertex_normal[LAST_ROW][j].x, 1.0);
    EXPECT_EQ(mesh_vertex_normal[LAST_ROW][j].y, 0.0);
    EXPECT_EQ(mesh_vertex_normal[LAST_ROW][j].z, 0.0);
  }
}

// A wrong neighbour index would still give an inward unit normal, so check
// the faces themselves, on an inner point and on both copies of a seam point.
TEST_F(SurfaceMeshTest, VertexNormalsBlendTheFourFacesAround) {
  struct Case {
    int i, j, left, right;
  } cases[] = {{1, 1, 0, 1}, {17, 30, 29, 30}, {62, 62, 61, 62}, {9, 0, 62, 0}, {9, 63, 62, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "point (" << c.i << ", " << c.j << ")");
    const MeshPoint faces[4] = {mesh_face_normal[c.i - 1][c.left],
                                mesh_face_normal[c.i - 1][c.right], mesh_face_normal[c.i][c.left],
                                mesh_face_normal[c.i][c.right]};
    MeshPoint sum = {0.0, 0.0, 0.0};
    for (const MeshPoint& f : faces) {
      sum = {sum.x + f.x, sum.y + f.y, sum.z + f.z};
    }
    const double s = length(sum);
    const MeshPoint& n = mesh_vertex_normal[c.i][c.j];
    EXPECT_NEAR(n.x, sum.x / s, 1e-12);
    EXPECT_NEAR(n.y, sum.y / s, 1e-12);
    EXPECT_NEAR(n.z, sum.z / s, 1e-12);
  }
}

TEST_F(SurfaceMeshTest, ShadesStayInRangeAndFollowTheirOwnNormals) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      SCOPED_TRACE(testing::Message() << "face (" << i << ", " << j << ")");
      EXPECT_GE(mesh_face_shade[i][j], 0.1f);
      EXPECT_LE(mesh_face_shade[i][j], 1.0f);
      EXPECT_EQ(mesh_face_shade[i][j], shade_from_normal(mesh_face_normal[i][j]));
    }
  }
  for (int i = 0; i < MESH_POINTS; ++i) {
    for (int j = 0; j < MESH_POINTS; ++j) {
      SCOPED_TRACE(testing::Message() << "point (" << i << ", " << j << ")");
      EXPECT_GE(mesh_vertex_shade[i][j], 0.1f);
      EXPECT_LE(mesh_vertex_shade[i][j], 1.0f);
      EXPECT_EQ(mesh_vertex_shade[i][j], shade_from_normal(mesh_vertex_normal[i][j]));
    }
  }
}

TEST(SurfaceMeshShadeTest, GreyLevelGrowsWithTheAngleFromTheLight) {
  const double k = 1 / std::sqrt(3.0);
  EXPECT_NEAR(shade_from_normal({-k, -k, k}), 0.1, 1e-6);
  EXPECT_EQ(shade_from_normal({k, k, -k}), 1.0f);
  // Straight up is acos(1/sqrt 3) away from the light.
  EXPECT_NEAR(shade_from_normal({0.0, 0.0, 1.0}), std::acos(k) / std::numbers::pi + 0.1, 1e-6);
  // Beyond 0.9 pi the level saturates.
  const double pi = std::numbers::pi;
  const MeshPoint light = {-k, -k, k};
  const MeshPoint across = {1 / std::sqrt(2.0), -1 / std::sqrt(2.0), 0.0};
  const auto at_angle = [&](double angle) {
    return MeshPoint{light.x * std::cos(angle) + across.x * std::sin(angle),
                     light.y * std::cos(angle) + across.y * std::sin(angle),
                     light.z * std::cos(angle) + across.z * std::sin(angle)};
  };
  EXPECT_NEAR(shade_from_normal(at_angle(0.5 * pi)), 0.6, 1e-6);
  EXPECT_NEAR(shade_from_normal(at_angle(0.85 * pi)), 0.95, 1e-6);
  EXPECT_EQ(shade_from_normal(at_angle(0.95 * pi)), 1.0f);
}

TEST(SurfaceMeshShadeTest, SlightlyLongNormalsStayFinite) {
  EXPECT_FLOAT_EQ(shade_from_normal({-0.6, -0.6, 0.6}), 0.1f);
  EXPECT_EQ(shade_from_normal({0.6, 0.6, -0.6}), 1.0f);
}

}  // namespace
