// Build-time converter: picture_icon <output.png> <size>
//
// Writes the built-in photograph as the desktop icon: an 8-bit RGB PNG of size x size pixels,
// rows top first. 256 is the picture as it is; a smaller size that divides 256 averages each
// square of source pixels. It is linked with the generated picture source, so the icon shows
// exactly the pixels the program draws. The image data goes into stored (uncompressed) deflate
// blocks, which every PNG reader accepts; that keeps the tool free of any library for a file
// of a few hundred kilobytes at most. Exits non-zero with a message on the standard error
// stream when the size is not one it can make or the output cannot be written; a failed run
// leaves no output file behind.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/picture.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put_u32(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<unsigned char>(value >> 24));
  out.push_back(static_cast<unsigned char>(value >> 16));
  out.push_back(static_cast<unsigned char>(value >> 8));
  out.push_back(static_cast<unsigned char>(value));
}

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0xffffffffu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xffffffffu;
}

std::uint32_t adler32(const Bytes& data) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : data) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  return (b << 16) | a;
}

// One chunk: length, type, data, and the CRC over type and data.
void put_chunk(Bytes& png, const char type[5], const Bytes& data) {
  put_u32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  put_u32(png, crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored blocks: no compression, at most 65535 bytes a block.
Bytes zlib_stored(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  std::size_t done = 0;
  do {
    const std::size_t length = std::min<std::size_t>(raw.size() - done, 65535);
    const bool last = done + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<unsigned char>(length));
    out.push_back(static_cast<unsigned char>(length >> 8));
    out.push_back(static_cast<unsigned char>(~length));
    out.push_back(static_cast<unsigned char>(~length >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
               raw.begin() + static_cast<std::ptrdiff_t>(done + length));
    done += length;
  } while (done < raw.size());
  put_u32(out, adler32(raw));
  return out;
}

// The scanlines as PNG filters them: a filter byte (0, none) before each row of RGB,
// rows top first. source_image has its bottom row first.
Bytes scanlines(int size) {
  const int step = PICTURE_SIZE / size;
  Bytes raw;
  raw.reserve(static_cast<std::size_t>(size) * (1 + 3 * size));
  for (int y = 0; y < size; ++y) {
    raw.push_back(0);
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
        raw.push_back(static_cast<unsigned char>((sum + count / 2) / count));
      }
    }
  }
  return raw;
}

Bytes png_file(int size) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  put_u32(header, static_cast<std::uint32_t>(size));
  put_u32(header, static_cast<std::uint32_t>(size));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", zlib_stored(scanlines(size)));
  put_chunk(png, "IEND", {});
  return png;
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
  const Bytes png = png_file(size);

  // Written beside the target and renamed into place, as embed_picture does, so that a failed
  // run never leaves a file the build would take as up to date.
  std::filesystem::path temp = output;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return fail(output.string(), "cannot write");
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, output, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return fail(output.string(), "cannot replace: " + error.message());
  }
  return 0;
}
