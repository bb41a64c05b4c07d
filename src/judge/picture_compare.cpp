#include "judge/picture_compare.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/replacement_file.h"

namespace {

constexpr int LARGEST_SIDE = 8192;

size_t byte_count(int width, int height) {
  return size_t(std::max(width, 0)) * size_t(std::max(height, 0)) * 3;
}

bool well_formed(const Picture& picture) {
  return picture.width >= 0 && picture.height >= 0 &&
         picture.rgb.size() == byte_count(picture.width, picture.height);
}

// Channel by channel, the largest absolute difference of two pixels.
int pixel_difference(const uint8_t* a, const uint8_t* b) {
  int largest = 0;
  for (int channel = 0; channel < 3; ++channel) {
    largest = std::max(largest, std::abs(a[channel] - b[channel]));
  }
  return largest;
}

}  // namespace

Picture picture_from_gl_rows(const uint8_t* rgb, int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rgb.resize(byte_count(width, height));
  const size_t row_bytes = byte_count(width, 1);
  for (int row = 0; row < height; ++row) {
    std::memcpy(picture.rgb.data() + size_t(row) * row_bytes,
                rgb + size_t(height - 1 - row) * row_bytes, row_bytes);
  }
  return picture;
}

bool read_png(const std::string& path, Picture& out, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  if (image.width > LARGEST_SIDE || image.height > LARGEST_SIDE) {
    error = "the picture is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
            " pixels, over " + std::to_string(LARGEST_SIDE) + " on a side";
    png_image_free(&image);
    return false;
  }
  // Read with alpha, then dropped: asking libpng for RGB would composite
  // the colours onto a background.
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) == 0) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  Picture picture;
  picture.width = int(image.width);
  picture.height = int(image.height);
  picture.rgb.resize(byte_count(picture.width, picture.height));
  for (size_t pixel = 0; pixel < rgba.size() / 4; ++pixel) {
    std::memcpy(&picture.rgb[pixel * 3], &rgba[pixel * 4], 3);
  }
  out = std::move(picture);
  return true;
}

bool write_png(const std::string& path, const Picture& picture, std::string& error) {
  if (!well_formed(picture) || picture.width == 0 || picture.height == 0) {
    error = "no picture to write";
    return false;
  }
  ReplacementFile file;
  if (!open_replacement(&file, path.c_str())) {
    error = std::strerror(errno);
    return false;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(picture.width);
  image.height = png_uint_32(picture.height);
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_stdio(&image, file.stream, 0, picture.rgb.data(), 0, nullptr) == 0) {
    error = image.message;
    png_image_free(&image);
    discard_replacement(&file);
    return false;
  }
  if (const char* step = commit_replacement(&file)) {
    error = std::string(step) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

namespace {

// Whether `pixel` of `a` has a match within the threshold among the pixels of
// `b` at most `shift` places away.
bool matched_nearby(const Picture& a, const Picture& b, int x, int y, const Tolerance& tolerance) {
  const uint8_t* pixel = &a.rgb[(size_t(y) * a.width + x) * 3];
  for (int dy = -tolerance.shift; dy <= tolerance.shift; ++dy) {
    const int yy = y + dy;
    if (yy < 0 || yy >= b.height) continue;
    for (int dx = -tolerance.shift; dx <= tolerance.shift; ++dx) {
      const int xx = x + dx;
      if (xx < 0 || xx >= b.width) continue;
      const uint8_t* other = &b.rgb[(size_t(yy) * b.width + xx) * 3];
      if (pixel_difference(pixel, other) <= tolerance.channel_threshold) return true;
    }
  }
  return false;
}

// Whether pixel (x, y) is beyond the tolerance, for paired pictures.
bool beyond(const Picture& captured, const Picture& reference, int x, int y,
            const Tolerance& tolerance) {
  const size_t at = (size_t(y) * captured.width + x) * 3;
  if (pixel_difference(&captured.rgb[at], &reference.rgb[at]) <= tolerance.channel_threshold) {
    return false;
  }
  if (tolerance.shift <= 0) return true;
  return !matched_nearby(captured, reference, x, y, tolerance) ||
         !matched_nearby(reference, captured, x, y, tolerance);
}

// For paired pictures: 1 where a pixel counts against the tolerance.
std::vector<uint8_t> counted_pixels(const Picture& captured, const Picture& reference,
                                    const Tolerance& tolerance) {
  const int width = captured.width;
  const int height = captured.height;
  std::vector<uint8_t> mask(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      mask[size_t(y) * width + x] = beyond(captured, reference, x, y, tolerance) ? 1 : 0;
    }
  }
  if (!tolerance.solid_only) return mask;
  std::vector<uint8_t> solid(mask.size());
  for (int y = 1; y + 1 < height; ++y) {
    for (int x = 1; x + 1 < width; ++x) {
      const size_t at = size_t(y) * width + x;
      solid[at] = mask[at] && mask[at - 1] && mask[at + 1] && mask[at - width] && mask[at + width];
    }
  }
  return solid;
}

}  // namespace

PictureDifference compare_pictures(const Picture& captured, const Picture& reference,
                                   const Tolerance& tolerance) {
  PictureDifference difference;
  if (captured.width != reference.width || captured.height != reference.height ||
      !well_formed(captured) || !well_formed(reference)) {
    difference.sizes_differ = true;
    difference.share_beyond = 1;
    return difference;
  }
  // Most pictures a check reads equal their references, or stray by less
  // than the threshold everywhere: then no pixel needs its neighbours.
  if (captured.rgb == reference.rgb) return difference;
  const size_t pixels = size_t(captured.width) * size_t(captured.height);
  for (size_t at = 0; at < pixels * 3; at += 3) {
    difference.largest =
        std::max(difference.largest, pixel_difference(&captured.rgb[at], &reference.rgb[at]));
  }
  if (difference.largest <= tolerance.channel_threshold) return difference;
  for (uint8_t counted : counted_pixels(captured, reference, tolerance)) {
    difference.pixels_beyond += counted;
  }
  if (pixels > 0) difference.share_beyond = double(difference.pixels_beyond) / double(pixels);
  return difference;
}

bool within(const PictureDifference& difference, const Tolerance& tolerance) {
  return !difference.sizes_differ && difference.share_beyond <= tolerance.allowed_share;
}

Picture difference_picture(const Picture& captured, const Picture& reference,
                           const Tolerance& tolerance) {
  static constexpr uint8_t RED[3] = {255, 0, 0};
  static constexpr uint8_t YELLOW[3] = {255, 255, 0};
  Picture marked;
  marked.width = std::max(reference.width, 0);
  marked.height = std::max(reference.height, 0);
  marked.rgb.resize(byte_count(marked.width, marked.height));
  const bool paired = captured.width == reference.width && captured.height == reference.height &&
                      well_formed(captured) && well_formed(reference);
  const std::vector<uint8_t> counted =
      paired ? counted_pixels(captured, reference, tolerance) : std::vector<uint8_t>();
  for (size_t at = 0; at < marked.rgb.size(); at += 3) {
    uint8_t* out = &marked.rgb[at];
    if (!paired) {
      std::memcpy(out, RED, 3);
      continue;
    }
    const uint8_t* want = &reference.rgb[at];
    const int largest = pixel_difference(&captured.rgb[at], want);
    if (counted[at / 3]) {
      std::memcpy(out, RED, 3);
    } else if (largest > 0) {
      std::memcpy(out, YELLOW, 3);
    } else {
      // Luma at half contrast around the middle, 64 to 191: dark and light
      // areas stay apart, and neither marking colour can be taken for it.
      const int luma = (77 * want[0] + 150 * want[1] + 29 * want[2]) >> 8;
      const auto grey = uint8_t(64 + luma / 2);
      std::memset(out, grey, 3);
    }
  }
  return marked;
}
