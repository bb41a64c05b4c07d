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

// The four corners of face (i, j) as bare vertices.
void face_corners(const SurfaceMesh& mesh, int i, int j) {
  for (int k = 0; k < 4; ++k) {
    glVertex3dv(gl_vector(mesh.mesh_vertex[i + CORNER_ROW[k]][j + CORNER_COLUMN[k]]));
  }
}

}  // namespace

void build_line_list(const SurfaceMesh& mesh) {
  begin_list(LIST_LINES);
  glColor3f(0.8f, 0.8f, 0.8f);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_LINE_LOOP);
      face_corners(mesh, i, j);
      glEnd();
    }
  }
  end_list();
}

void build_facet_shade_list(const SurfaceMesh& mesh) {
  begin_list(LIST_FACET_SHADE);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_QUADS);
      const GLfloat grey = mesh.mesh_face_shade[i][j];
      glColor3f(grey, grey, grey);
      face_corners(mesh, i, j);
      glEnd();
    }
  }
  end_list();
}

void build_vertex_shade_list(const SurfaceMesh& mesh) {
  begin_list(LIST_VERTEX_SHADE);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_QUADS);
      for (int k = 0; k < 4; ++k) {
        const int row = i + CORNER_ROW[k];
        const int column = j + CORNER_COLUMN[k];
        const GLfloat grey = mesh.mesh_vertex_shade[row][column];
        glColor3f(grey, grey, grey);
        glVertex3dv(gl_vector(mesh.mesh_vertex[row][column]));
      }
      glEnd();
    }
  }
  end_list();
}

namespace {

void begin_lit_list() {
  begin_list(LIST_LIT);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT);
  glColor3f(0.2f, 0.2f, 1.0f);
}

}  // namespace

void build_flat_lit_list(const SurfaceMesh& mesh) {
  begin_lit_list();
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_QUADS);
      glNormal3dv(gl_vector(mesh.mesh_face_normal[i][j]));
      face_corners(mesh, i, j);
      glEnd();
    }
  }
  end_list();
}

void build_smooth_lit_list(const SurfaceMesh& mesh) {
  begin_lit_list();
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_QUADS);
      for (int k = 0; k < 4; ++k) {
        const int row = i + CORNER_ROW[k];
        const int column = j + CORNER_COLUMN[k];
        glNormal3dv(gl_vector(mesh.mesh_vertex_normal[row][column]));
        glVertex3dv(gl_vector(mesh.mesh_vertex[row][column]));
      }
      glEnd();
    }
  }
  end_list();
}

void build_textured_list(const SurfaceMesh& mesh) {
  begin_list(LIST_TEXTURED);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      if (face_left_out(i, j)) continue;
      glBegin(GL_QUADS);
      glNormal3dv(gl_vector(mesh.mesh_face_normal[i][j]));
      for (int k = 0; k < 4; ++k) {
        const int row = i + CORNER_ROW[k];
        const int column = j + CORNER_COLUMN[k];
        glTexCoord2f(static_cast<GLfloat>(column) / 64.0f, static_cast<GLfloat>(64 - row) / 64.0f);
        glVertex3dv(gl_vector(mesh.mesh_vertex[row][column]));
      }
      glEnd();
    }
  }
  end_list();
}
