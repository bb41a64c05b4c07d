// Reading, writing and judging final pictures against references.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>

#include "judge/picture_compare.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A picture whose every byte differs from its neighbours'.
Picture pattern(int width, int height) {
  Picture picture{width, height, {}};
  for (int i = 0; i < width * height * 3; ++i) picture.rgb.push_back(uint8_t(i * 37 + 11));
  return picture;
}

TEST(PictureCheckFiles, ReadBackAsWrittenOrSayWhyNot) {
  char name[] = "/tmp/tarvelin-picture-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  const std::string folder = name;
  std::string error;
  Picture read;
  ASSERT_TRUE(write_png(folder + "/p.png", pattern(5, 3), error)) << error;
  ASSERT_TRUE(read_png(folder + "/p.png", read, error)) << error;
  EXPECT_EQ(std::pair(read.width, read.height), std::pair(5, 3));
  EXPECT_EQ(read.rgb, pattern(5, 3).rgb);

  // A file saved with alpha 0 keeps its colours rather than turning black.
  const uint8_t rgba[] = {10, 200, 30, 0, 250, 5, 128, 0};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_NE(png_image_write_to_file(&image, (folder + "/a.png").c_str(), 0, rgba, 0, nullptr), 0);
  ASSERT_TRUE(read_png(folder + "/a.png", read, error)) << error;
  EXPECT_EQ(read.rgb, (Bytes{10, 200, 30, 250, 5, 128}));

  std::ofstream(folder + "/text.png") << "not a picture\n";
  for (const char* bad : {"/missing.png", "/text.png"}) {
    error.clear();
    EXPECT_FALSE(read_png(folder + bad, read, error)) << bad;
    EXPECT_NE(error, "") << bad;
  }
  EXPECT_EQ(read.width, 2);  // untouched by the failures
  error.clear();
  EXPECT_FALSE(write_png(folder + "/no-folder/p.png", pattern(2, 2), error));
  EXPECT_NE(error, "");
  std::filesystem::remove_all(folder);
}

TEST(PictureCheckCompare, CountsAndMarksPixelsBeyondTheThreshold) {
  const Tolerance tolerance{4, 0.1};
  const Picture reference = pattern(4, 5);
  const PictureDifference same = compare_pictures(reference, reference, tolerance);
  EXPECT_EQ(same.share_beyond, 0);
  EXPECT_EQ(same.largest, 0);

  Picture captured = reference;
  captured.rgb[7] += 4;    // pixel 2, green: at the threshold
  captured.rgb[17] -= 5;   // pixel 5, blue: one past it
  captured.rgb[30] += 9;   // pixel 10, red
  captured.rgb[31] -= 20;  // ... and green: still one pixel
  const PictureDifference found = compare_pictures(captured, reference, tolerance);
  EXPECT_EQ(found.pixels_beyond, 2);
  EXPECT_DOUBLE_EQ(found.share_beyond, 2.0 / 20);
  EXPECT_EQ(found.largest, 20);
  EXPECT_TRUE(within(found, tolerance));
  EXPECT_FALSE(within(found, {4, 0.05}));

  const PictureDifference sized = compare_pictures(pattern(5, 4), reference, tolerance);
  EXPECT_TRUE(sized.sizes_differ);
  EXPECT_FALSE(within(sized, {255, 1.0}));

  const Picture marked = difference_picture(captured, reference, tolerance);
  ASSERT_EQ(marked.rgb.size(), reference.rgb.size());
  for (int pixel = 0; pixel < 20; ++pixel) {
    const Bytes colour(&marked.rgb[pixel * 3], &marked.rgb[pixel * 3 + 3]);
    if (pixel == 5 || pixel == 10) {
      EXPECT_EQ(colour, (Bytes{255, 0, 0})) << pixel;
    } else if (pixel == 2) {
      EXPECT_EQ(colour, (Bytes{255, 255, 0})) << pixel;
    } else {  // a grey neither marking colour can be taken for
      EXPECT_TRUE(colour[0] == colour[1] && colour[1] == colour[2] && colour[0] < 255) << pixel;
    }
  }
}

TEST(PictureCheck, GlRowsComeBottomFirst) {
  const uint8_t gl[] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
  const Picture picture = picture_from_gl_rows(gl, 2, 3);
  EXPECT_EQ(picture.rgb, (Bytes{5, 5, 5, 6, 6, 6, 3, 3, 3, 4, 4, 4, 1, 1, 1, 2, 2, 2}));
}

// Edges may move by a pixel and only patches count where asked: a line one
// pixel over passes, the same line missing does not, and a sliver along an
// edge is let be while a 3 x 3 hole is found.
TEST(PictureCheckCompare, ShiftedEdgesPassAndPatchesAreFound) {
  const auto blank = [] { return Picture{9, 9, Bytes(9 * 9 * 3, 0)}; };
  const auto paint = [](Picture& p, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) std::fill_n(&p.rgb[(y * 9 + x) * 3], 3, uint8_t(200));
    }
  };
  Picture reference = blank();
  paint(reference, 4, 0, 4, 8);  // a vertical line
  Picture moved = blank();
  paint(moved, 5, 0, 5, 8);
  const Tolerance shifting{0, 0.0, 1};
  EXPECT_EQ(compare_pictures(moved, reference, shifting).pixels_beyond, 0);
  EXPECT_EQ(compare_pictures(blank(), reference, shifting).pixels_beyond, 9) << "line missing";
  EXPECT_EQ(compare_pictures(moved, reference, Tolerance{}).pixels_beyond, 18);

  const Tolerance patches{0, 0.0, 0, true};
  Picture full = blank();
  paint(full, 0, 0, 8, 8);
  Picture sliver = full;
  std::fill_n(&sliver.rgb[(4 * 9 + 4) * 3], 3, uint8_t(0));
  EXPECT_EQ(compare_pictures(sliver, full, patches).pixels_beyond, 0);
  Picture hole = full;
  for (int y = 3; y <= 5; ++y) {
    for (int x = 3; x <= 5; ++x) std::fill_n(&hole.rgb[(y * 9 + x) * 3], 3, uint8_t(0));
  }
  EXPECT_EQ(compare_pictures(hole, full, patches).pixels_beyond, 1) << "the hole's middle";
}

}  // namespace
