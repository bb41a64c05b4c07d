#include "scene3d/mesh_lists.h"

#include <GL/gl.h>

#include "scene3d/scene_state.h"
#include "scene3d/surface_mesh.h"

namespace {

static_assert(sizeof(MeshPoint) == 3 * sizeof(GLdouble), "a mesh point is a GL vector");

const GLdouble* gl_vector(const MeshPoint& p) { return &p.x; }

// Grid offsets of a face's corners, in drawing order.
constexpr int CORNER_ROW[4] = {0, 1, 1, 0};
constexpr int CORNER_COLUMN[4] = {0, 0, 1, 1};

void begin_list(GLuint name) {
  glNewList(name, GL_COMPILE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void end_list() {
  glFlush();
  glEndList();
}

}  // namespace

void build_line_list() {
  begin_list(LIST_LINES);
  glColor3f(0.8f, 0.8f, 0.8f);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      glBegin(GL_LINE_LOOP);
      for (int k = 0; k < 4; ++k) {
        glVertex3dv(gl_vector(mesh_vertex[i + CORNER_ROW[k]][j + CORNER_COLUMN[k]]));
      }
      glEnd();
    }
  }
  end_list();
}

void build_facet_shade_list() {
  begin_list(LIST_FACET_SHADE);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      glBegin(GL_QUADS);
      const GLfloat grey = mesh_face_shade[i][j];
      glColor3f(grey, grey, grey);
      for (int k = 0; k < 4; ++k) {
        glVertex3dv(gl_vector(mesh_vertex[i + CORNER_ROW[k]][j + CORNER_COLUMN[k]]));
      }
      glEnd();
    }
  }
  end_list();
}

void build_vertex_shade_list() {
  begin_list(LIST_VERTEX_SHADE);
  for (int i = 0; i < MESH_FACES; ++i) {
    for (int j = 0; j < MESH_FACES; ++j) {
      glBegin(GL_QUADS);
      for (int k = 0; k < 4; ++k) {
        const int row = i + CORNER_ROW[k];
        const int column = j + CORNER_COLUMN[k];
        const GLfloat grey = mesh_vertex_shade[row][column];
        glColor3f(grey, grey, grey);
        glVertex3dv(gl_vector(mesh_vertex[row][column]));
      }
      glEnd();
    }
  }
  end_list();
}
