// Pictures as the judge handles them: 8-bit RGB, read back from GL rows,
// read from and written to PNG files, and compared with a reference picture
// of the same test. GL leaves conforming implementations some freedom
// (edges, antialiasing coverage, texture filtering), so two pictures agree
// when few enough pixels differ by more than a per-channel threshold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGB picture: rows top first, 3 bytes a pixel, nothing between
// rows, so rgb holds width * height * 3 bytes.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// The picture glReadPixels(GL_RGB, GL_UNSIGNED_BYTE) gives, rows bottom
// first: `rgb` holds width * height * 3 bytes with nothing between rows
// (GL_PACK_ALIGNMENT 1, or any alignment that width * 3 is a multiple of).
Picture picture_from_gl_rows(const uint8_t* rgb, int width, int height);

// Reads any PNG libpng can, as RGB: grey is spread over the three
// channels; alpha is dropped, not composited, so the colours of a file
// saved with GL's alpha left in it (often 0) stay as they are. 8-bit sRGB
// files are read exactly. On failure returns false, leaves `out` as it
// was, and says why in `error`: the file is missing, is no PNG, is damaged,
// or is over 8192 pixels on a side (no window is, and the limit keeps a
// damaged header from asking for gigabytes).
bool read_png(const std::string& path, Picture& out, std::string& error);

// Writes an 8-bit RGB PNG. The file takes the place of any earlier one only
// once complete, so a failure leaves what was there. On failure returns
// false and says why in `error`.
bool write_png(const std::string& path, const Picture& picture, std::string& error);

// A pixel is beyond the threshold when any of its channels differs by more
// than channel_threshold; two pictures agree when the share of such pixels
// (0 to 1) is at most allowed_share. With a shift of n, edges may also move
// by up to n pixels: a pixel is beyond only when no pixel within n places
// (across, down or diagonally) of the other picture matches it within the
// threshold, looked at both ways, so that what one picture lacks is found
// as surely as what it has too much. With solid_only, a pixel counts only
// where its four neighbours are beyond too: differences along edges, a
// pixel wide, are let be, while a patch three pixels across or more (a face
// missing, a wrong colour over an area) is found. The defaults ask for
// equal pictures.
struct Tolerance {
  int channel_threshold = 0;
  double allowed_share = 0;
  int shift = 0;
  bool solid_only = false;
};

struct PictureDifference {
  double share_beyond = 0;  // pixels_beyond over all pixels; 0 for empty pictures
  int largest = 0;          // the largest difference of any channel, 0 to 255
  long pixels_beyond = 0;
  bool sizes_differ = false;
};

// Compares pixel by pixel. Pictures of different sizes (or one whose rgb
// does not match its size) have no pixels to pair: sizes_differ is set,
// share_beyond is 1 and the rest 0.
PictureDifference compare_pictures(const Picture& captured, const Picture& reference,
                                   const Tolerance& tolerance);

// The sizes are equal and share_beyond is at most allowed_share.
bool within(const PictureDifference& difference, const Tolerance& tolerance);

// Where the pictures differ, the size of the reference: the reference in
// dimmed grey, so the scene stays recognisable, with each pixel beyond the
// threshold in full red and each that differs within it in yellow. Where
// the sizes differ, every pixel is red.
Picture difference_picture(const Picture& captured, const Picture& reference,
                           const Tolerance& tolerance);
