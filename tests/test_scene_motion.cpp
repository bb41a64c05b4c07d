// The host-side turn of the object between frames.
#include <gtest/gtest.h>

#include <cmath>

#include "scene3d/matrix_step.h"

namespace {

constexpr double STEP_X = 0.25132741228718347;  // 14.4 degrees
constexpr double STEP_Y = 0.3141592653589793;   // 18 degrees

// Column-major 4 x 4 product a * b in double precision.
void multiply(const double a[16], const double b[16], double out[16]) {
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
      out[column * 4 + row] = sum;
    }
  }
}

void rotation_x(double angle, double m[16]) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double r[16] = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) m[i] = r[i];
}

void rotation_y(double angle, double m[16]) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double r[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) m[i] = r[i];
}

TEST(SceneMotion, TurnsByTheXStepThenTheYStepAboutTheObjectsOwnAxes) {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1};
  double expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1};
  double rx[16], ry[16], step[16], next[16];
  rotation_x(STEP_X, rx);
  rotation_y(STEP_Y, ry);
  multiply(rx, ry, step);
  const int frames = 100;
  for (int n = 0; n < frames; ++n) {
    turn_scene_matrix(m, std::sin(STEP_X), std::cos(STEP_X), std::sin(STEP_Y), std::cos(STEP_Y));
    multiply(expected, step, next);
    for (int i = 0; i < 16; ++i) expected[i] = next[i];
  }
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m[i], expected[i], 1e-4) << "element " << i << " after " << frames << " frames";
  }
}

TEST(SceneMotion, LeavesTranslationAndLastRowAlone) {
  float m[16] = {0.5f, 0.1f, 0.2f, 7, 0.3f, 0.6f, 0.1f, 8, 0.2f, 0.4f, 0.7f, 9, 1, 2, -10, 1};
  turn_scene_matrix(m, std::sin(STEP_X), std::cos(STEP_X), std::sin(STEP_Y), std::cos(STEP_Y));
  EXPECT_EQ(m[3], 7.0f);
  EXPECT_EQ(m[7], 8.0f);
  EXPECT_EQ(m[11], 9.0f);
  EXPECT_EQ(m[12], 1.0f);
  EXPECT_EQ(m[13], 2.0f);
  EXPECT_EQ(m[14], -10.0f);
  EXPECT_EQ(m[15], 1.0f);
}

TEST(SceneMotion, UsesTheOldColumnsForEveryNewOne) {
  // With a quarter turn about x the new Y is the old Z, and the new X must
  // be computed from the old Z too, not from the Y just written.
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  turn_scene_matrix(m, 1.0, 0.0, 1.0, 0.0);
  const float expected[12] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0};
  for (int i = 0; i < 11; ++i) {
    if (i % 4 == 3) continue;
    EXPECT_NEAR(m[i], expected[i], 1e-6) << "element " << i;
  }
}

}  // namespace
