// Build-time converter: picture_icon <output.png> <size>
//
// Writes the built-in photograph as the desktop icon: an 8-bit RGB PNG of size x size pixels,
// rows top first. 256 is the picture as it is; a smaller size that divides 256 averages each
// square of source pixels. It is linked with the generated picture source, so the icon shows
// exactly the pixels the program draws; libpng writes the file. Exits non-zero with a message on
// the standard error stream when the size is not one it can make or the output cannot be written; a
// failed run leaves no output file behind.

#include <png.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/picture.h"
#include "core/tool_output.h"

namespace {

// size x size RGB pixels, rows top first; source_image has its bottom row first.
std::vector<unsigned char> icon_pixels(int size) {
  const int step = PICTURE_SIZE / size;
  std::vector<unsigned char> pixels;
  pixels.reserve(static_cast<std::size_t>(size) * size * 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        unsigned sum = 0;
        for (int dy = 0; dy < step; ++dy) {
          const int row = PICTURE_SIZE - 1 - (y * step + dy);
          for (int dx = 0; dx < step; ++dx) {
            sum += source_image[(std::size_t(row) * PICTURE_SIZE + x * step + dx) * 4 + channel];
          }
        }
        const unsigned count = unsigned(step) * unsigned(step);
        pixels.push_back(static_cast<unsigned char>((sum + count / 2) / count));
      }
    }
  }
  return pixels;
}

int fail(const std::string& subject, const std::string& message) {
  std::fprintf(stderr, "picture_icon: %s: %s\n", subject.c_str(), message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: picture_icon <output.png> <size>\n");
    return 2;
  }
  const std::filesystem::path output = argv[1];
  const std::string size_text = argv[2];
  int size = 0;
  try {
    std::size_t used = 0;
    size = std::stoi(size_text, &used);
    if (used != size_text.size()) size = 0;
  } catch (const std::exception&) {
    size = 0;
  }
  if (size < 1 || size > PICTURE_SIZE || PICTURE_SIZE % size != 0) {
    return fail(size_text, "the size must divide " + std::to_string(PICTURE_SIZE));
  }
  const std::vector<unsigned char> pixels = icon_pixels(size);

  const std::string trouble = write_tool_output(output, [&](const std::filesystem::path& temp) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, temp.c_str(), 0, pixels.data(), 0, nullptr) != 0) {
      return std::string();
    }
    const std::string why = std::string("cannot write: ") + image.message;
    png_image_free(&image);
    return why;
  });
  if (!trouble.empty()) return fail(output.string(), trouble);
  return 0;
}
