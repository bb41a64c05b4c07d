#include "core/picture.h"

#include <cstring>

void copy_picture_to_texture(unsigned char texture_image[PICTURE_BYTES]) {
  std::memcpy(texture_image, source_image, PICTURE_BYTES);
}
