#include "core/picture.h"

#include <cstring>

alignas(4) unsigned char texture_image[PICTURE_BYTES];

void copy_picture_to_texture() { std::memcpy(texture_image, source_image, PICTURE_BYTES); }
