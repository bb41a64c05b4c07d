#include "scene3d/primitive_tests.h"

#include <GL/gl.h>

#include "scene3d/animation.h"
#include "scene3d/mesh_lists.h"
#include "scene3d/scene_state.h"

namespace {

void fog_on() { glEnable(GL_FOG); }
void fog_off() { glDisable(GL_FOG); }

// The line width and blend function stay behind for the tests after.
void smooth_lines_on() {
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(0.8f);
}
void smooth_lines_off() {
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_BLEND);
}

void smooth_polygons_on() {
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_BLEND);
  glEnable(GL_POLYGON_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}
void smooth_polygons_off() {
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_BLEND);
}

using namespace test_id;

// "Lines" alone starts from the stored matrix instead of reading GL's back.
constexpr AnimatedTest LINES = {lines, LIST_LINES, 4, nullptr, nullptr, false};
constexpr AnimatedTest LINES_FOG = {lines_fog, LIST_LINES, 4, fog_on, fog_off, true};
constexpr AnimatedTest LINES_SMOOTH = {lines_smooth,    LIST_LINES,       4,
                                       smooth_lines_on, smooth_lines_off, true};

constexpr AnimatedTest POINTS = {points, LIST_FACET_SHADE, 5, nullptr, nullptr, true};
constexpr AnimatedTest POINTS_FOG = {points_fog, LIST_FACET_SHADE, 5, fog_on, fog_off, true};
constexpr AnimatedTest WIRE = {wire_frame, LIST_FACET_SHADE, 5, nullptr, nullptr, true};
constexpr AnimatedTest WIRE_FOG = {wire_frame_fog, LIST_FACET_SHADE, 5, fog_on, fog_off, true};
constexpr AnimatedTest POLYGON_SMOOTH = {polygon_color_smooth, LIST_FACET_SHADE,    5,
                                         smooth_polygons_on,   smooth_polygons_off, true};
constexpr AnimatedTest POLYGON = {polygon_color, LIST_FACET_SHADE, 5, nullptr, nullptr, true};
constexpr AnimatedTest POLYGON_FOG = {
    polygon_color_fog, LIST_FACET_SHADE, 5, fog_on, fog_off, true};
constexpr AnimatedTest VERTEX = {vertex_color, LIST_VERTEX_SHADE, 6, nullptr, nullptr, true};
constexpr AnimatedTest VERTEX_FOG = {vertex_color_fog, LIST_VERTEX_SHADE, 6, fog_on, fog_off, true};

}  // namespace

void run_line_tests() {
  build_line_list();
  run_animated_test(LINES);
  run_animated_test(LINES_FOG);
  run_animated_test(LINES_SMOOTH);
  glDeleteLists(LIST_LINES, 1);
}

void run_primitive_tests() {
  build_facet_shade_list();
  glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
  run_animated_test(POINTS);
  run_animated_test(POINTS_FOG);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  run_animated_test(WIRE);
  run_animated_test(WIRE_FOG);
  run_animated_test(POLYGON_SMOOTH);
  // Also when "PolygonSmooth" was skipped and left the wire mode in place.
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  run_animated_test(POLYGON);
  run_animated_test(POLYGON_FOG);
  glDeleteLists(LIST_FACET_SHADE, 1);

  build_vertex_shade_list();
  run_animated_test(VERTEX);
  run_animated_test(VERTEX_FOG);
  glDeleteLists(LIST_VERTEX_SHADE, 1);
}
