#include "scene3d/mesh_lists.h"

#include <GL/gl.h>

#include "core/test_hooks.h"
#include "scene3d/scene_state.h"
#include "scene3d/surface_mesh.h"

namespace {

static_assert(sizeof(MeshPoint) == 3 * sizeof(GLdouble), "a mesh point is a GL vector");

const GLdouble* gl_vector(const MeshPoint& p) { return &p.x; }

// Grid offsets of a face's corners, in drawing order.
constexpr int CORNER_ROW[4] = {0, 1, 1, 0};
constexpr int CORNER_COLUMN[4] = {0, 0, 1, 1};

// The test hook's planted fault: one face near the middle of the mesh, on
// the side the last frames of most tests show, left out of every list.
constexpr int DROPPED_ROW = 20;
constexpr int DROPPED_COLUMN = 10;
bool face_left_out(int i, int j) {
  return drawing_fault() == DrawingFault::drop_face && i == DROPPED_ROW && j == DROPPED_COLUMN;
}

void begin_list(GLuint name) {
  glNewList(name, GL_COMPILE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void end_list() {
  glFlush();
  glEndList();
}

// The one face loop of every list: each face not left out is its own
// primitive of `mode`; `face_start(i, j)` gives what comes before its first
// corner (a grey, a normal), `corner(row, column)` what comes before each
// corner's vertex.
template <class FaceStart, class Corner>
void draw_faces(const SurfaceMesh& mesh, GLenum mode, FaceStart face_start, Corner corner) {
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(mode);
      face_start(i, j);
      for (int k = 0; k < 4; ++k) {
        const int row = i + CORNER_ROW[k];
        const int column = j + CORNER_COLUMN[k];
        corner(row, column);
        glVertex3dv(gl_vector(mesh.mesh_vertex[row][column]));
      }
      glEnd();
    }
  }
}

void nothing(int, int) {}

void grey(GLfloat level) { glColor3f(level, level, level); }

void begin_lit_list() {
  begin_list(LIST_LIT);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT);
  glColor3f(0.2f, 0.2f, 1.0f);
}

}  // namespace

void build_line_list(const SurfaceMesh& mesh) {
  begin_list(LIST_LINES);
  glColor3f(0.8f, 0.8f, 0.8f);
  draw_faces(mesh, GL_LINE_LOOP, nothing, nothing);
  end_list();
}

void build_facet_shade_list(const SurfaceMesh& mesh) {
  begin_list(LIST_FACET_SHADE);
  draw_faces(
      mesh, GL_QUADS, [&](int i, int j) { grey(mesh.mesh_face_shade[i][j]); }, nothing);
  end_list();
}

void build_vertex_shade_list(const SurfaceMesh& mesh) {
  begin_list(LIST_VERTEX_SHADE);
  draw_faces(mesh, GL_QUADS, nothing,
             [&](int row, int column) { grey(mesh.mesh_vertex_shade[row][column]); });
  end_list();
}

float vertex_shade_list_last_grey(const SurfaceMesh& mesh) {
  return mesh.mesh_vertex_shade[MESH_FACES - 1 + CORNER_ROW[3]][MESH_FACES - 1 + CORNER_COLUMN[3]];
}

void build_flat_lit_list(const SurfaceMesh& mesh) {
  begin_lit_list();
  draw_faces(
      mesh, GL_QUADS, [&](int i, int j) { glNormal3dv(gl_vector(mesh.mesh_face_normal[i][j])); },
      nothing);
  end_list();
}

void build_smooth_lit_list(const SurfaceMesh& mesh) {
  begin_lit_list();
  draw_faces(mesh, GL_QUADS, nothing, [&](int row, int column) {
    glNormal3dv(gl_vector(mesh.mesh_vertex_normal[row][column]));
  });
  end_list();
}

void build_textured_list(const SurfaceMesh& mesh) {
  begin_list(LIST_TEXTURED);
  draw_faces(
      mesh, GL_QUADS, [&](int i, int j) { glNormal3dv(gl_vector(mesh.mesh_face_normal[i][j])); },
      [](int row, int column) {
        glTexCoord2f(static_cast<GLfloat>(column) / 64.0f, static_cast<GLfloat>(64 - row) / 64.0f);
      });
  end_list();
}
