// The built-in 256 x 256 photograph that both test windows share.
#pragma once

#include <cstddef>

constexpr int PICTURE_SIZE = 256;
constexpr std::size_t PICTURE_BYTES = std::size_t{PICTURE_SIZE} * PICTURE_SIZE * 4;

// The picture as the 2D tests draw it: four bytes a pixel (red, green, blue, alpha, i.e.
// GL_RGBA with GL_UNSIGNED_BYTE), rows bottom first with nothing between them, alpha 0 in
// every pixel. Read-only; generated at build time from assets/picture.ppm. The 3D tests load
// it as their texture as it is (its first row is then t = 0): nothing changes it, so it
// needs no working copy.
alignas(4) extern const unsigned char source_image[PICTURE_BYTES];
