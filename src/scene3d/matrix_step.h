// The host-side turn of the object, one frame's worth.
#pragma once

// Multiplies the column-major matrix m on the right by a rotation about its
// own x axis (sin_x, cos_x) followed by one about the new y axis (sin_y,
// cos_y). The nine rotation elements are read first, computed in double
// precision and stored back as floats; the fourth row and the translation
// column are left alone, and nothing re-orthonormalises the result.
inline void turn_scene_matrix(float m[16], double sin_x, double cos_x, double sin_y, double cos_y) {
  const double x0 = m[0], x1 = m[1], x2 = m[2];
  const double y0 = m[4], y1 = m[5], y2 = m[6];
  const double z0 = m[8], z1 = m[9], z2 = m[10];
  const double w0 = z0 * cos_x - y0 * sin_x;
  const double w1 = z1 * cos_x - y1 * sin_x;
  const double w2 = z2 * cos_x - y2 * sin_x;
  m[4] = static_cast<float>(z0 * sin_x + y0 * cos_x);
  m[5] = static_cast<float>(z1 * sin_x + y1 * cos_x);
  m[6] = static_cast<float>(z2 * sin_x + y2 * cos_x);
  m[0] = static_cast<float>(x0 * cos_y - w0 * sin_y);
  m[1] = static_cast<float>(x1 * cos_y - w1 * sin_y);
  m[2] = static_cast<float>(x2 * cos_y - w2 * sin_y);
  m[8] = static_cast<float>(x0 * sin_y + w0 * cos_y);
  m[9] = static_cast<float>(x1 * sin_y + w1 * cos_y);
  m[10] = static_cast<float>(x2 * sin_y + w2 * cos_y);
}
