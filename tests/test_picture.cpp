#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/picture.h"
#include "raster2d/pixel_probes.h"

namespace {

std::filesystem::path source_dir() {
  if (const char* dir = std::getenv("TARVELIN_SOURCE_DIR"); dir && *dir) return dir;
  return std::filesystem::path(__FILE__).parent_path().parent_path();
}

// The asset as the file stores it: RGB, rows top first. Read here without the build's converter,
// so that a fault in the converter cannot cancel out in the comparison.
struct PpmImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

PpmImage read_asset() {
  PpmImage image;
  std::ifstream in(source_dir() / "assets" / "picture.ppm", std::ios::binary);
  if (!in) return image;
  std::string magic;
  in >> magic;
  if (magic != "P6") return image;
  auto read_field = [&in]() {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      in >> std::ws;
    }
    int value = 0;
    in >> value;
    return value;
  };
  int width = read_field();
  int height = read_field();
  int maxval = read_field();
  in.get();  // the single whitespace byte that ends the header
  if (!in || maxval != 255 || width <= 0 || height <= 0) return image;
  image.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  image.width = width;
  image.height = height;
  return image;
}

const PpmImage& asset() {
  static const PpmImage image = read_asset();
  return image;
}

const unsigned char* pixel(int x, int row_from_bottom) {
  return source_image + (std::size_t(row_from_bottom) * PICTURE_SIZE + x) * 4;
}

TEST(Picture, EmbedsTheAssetAsRgbaRowsBottomFirst) {
  ASSERT_EQ(asset().width, PICTURE_SIZE) << "cannot read " << source_dir() / "assets/picture.ppm";
  ASSERT_EQ(asset().height, PICTURE_SIZE);
  ASSERT_EQ(asset().rgb.size(), std::size_t(PICTURE_SIZE) * PICTURE_SIZE * 3);
  // A top-down or mirrored embedding can only be told apart from the right one when the picture
  // is not symmetric.
  const std::size_t row_bytes = std::size_t(PICTURE_SIZE) * 3;
  ASSERT_NE(
      0, std::memcmp(asset().rgb.data(), &asset().rgb[(PICTURE_SIZE - 1) * row_bytes], row_bytes));

  for (int file_row = 0; file_row < PICTURE_SIZE; ++file_row) {
    for (int x = 0; x < PICTURE_SIZE; ++x) {
      const unsigned char* expected = &asset().rgb[(std::size_t(file_row) * PICTURE_SIZE + x) * 3];
      ASSERT_EQ(0, std::memcmp(expected, pixel(x, PICTURE_SIZE - 1 - file_row), 3))
          << "pixel x=" << x << ", file row " << file_row;
    }
  }
}

TEST(Picture, AlphaIsZeroInEveryPixel) {
  int nonzero = 0;
  for (std::size_t i = 3; i < PICTURE_BYTES; i += 4) nonzero += source_image[i] != 0;
  EXPECT_EQ(nonzero, 0);
}

TEST(Picture, IsANaturalColourPhotograph) {
  // The logic-op and colour-scale tests are only meaningful on a picture whose every channel
  // spans most of the range and whose pixels are not grey.
  int lowest[3] = {255, 255, 255};
  int highest[3] = {0, 0, 0};
  int coloured = 0;
  for (std::size_t i = 0; i < PICTURE_BYTES; i += 4) {
    for (int c = 0; c < 3; ++c) {
      lowest[c] = std::min<int>(lowest[c], source_image[i + c]);
      highest[c] = std::max<int>(highest[c], source_image[i + c]);
    }
    coloured +=
        source_image[i] != source_image[i + 1] || source_image[i + 1] != source_image[i + 2];
  }
  for (int c = 0; c < 3; ++c) {
    EXPECT_LE(lowest[c], 32) << "channel " << c;
    EXPECT_GE(highest[c], 224) << "channel " << c;
  }
  EXPECT_GT(coloured, PICTURE_SIZE * PICTURE_SIZE / 2);
}

// The twelve logic operations on one component (s drawn, d in the frame buffer), and which half
// of the probes' known destination (all zero bits, all one bits) makes each leave something
// other than a plain copy of a component that is neither 0 nor full.
struct LogicOpRow {
  const char* name;
  int (*apply)(int s, int d);
  bool zeros_reveal;
  bool ones_reveal;
};
constexpr LogicOpRow LOGIC_OPS[] = {
    {"GL_COPY", [](int s, int) { return s; }, false, false},
    {"GL_COPY_INVERTED", [](int s, int) { return ~s; }, true, true},
    {"GL_AND_REVERSE", [](int s, int d) { return s & ~d; }, false, true},
    {"GL_OR_REVERSE", [](int s, int d) { return s | ~d; }, true, false},
    {"GL_AND", [](int s, int d) { return s & d; }, true, false},
    {"GL_OR", [](int s, int d) { return s | d; }, false, true},
    {"GL_NAND", [](int s, int d) { return ~(s & d); }, true, true},
    {"GL_NOR", [](int s, int d) { return ~(s | d); }, true, true},
    {"GL_XOR", [](int s, int d) { return s ^ d; }, false, true},
    {"GL_EQUIV", [](int s, int d) { return ~(s ^ d); }, true, false},
    {"GL_AND_INVERTED", [](int s, int d) { return ~s & d; }, true, true},
    {"GL_OR_INVERTED", [](int s, int d) { return ~s | d; }, true, true},
};

// Over the known destination, the built-in picture's corner (what both probes draw there) comes
// out different from a plain copy under every operation but GL_COPY, in the halves the table
// says: the automatic check's verdict depends on the operation alone.
TEST(Picture, EveryLogicOpShowsInTheProbedCornerOverTheKnownDestination) {
  for (const LogicOpRow& op : LOGIC_OPS) {
    bool differs[2] = {false, false};  // in the all-zero half, in the all-one half
    for (int y = 0; y < PROBE_BLOCK_SIDE; ++y) {
      for (int x = 0; x < PROBE_BLOCK_SIDE; ++x) {
        const bool ones = x >= PROBE_ONES_FROM_COLUMN;
        for (int c = 0; c < 3; ++c) {
          const int s = source_image[(y * PICTURE_SIZE + x) * 4 + c];
          differs[ones] |= (op.apply(s, ones ? 0xFF : 0) & 0xFF) != s;
        }
      }
    }
    EXPECT_EQ(differs[0], op.zeros_reveal) << op.name << " over the all-zero half";
    EXPECT_EQ(differs[1], op.ones_reveal) << op.name << " over the all-one half";
  }
}

}  // namespace
