// Our TGA writer: 24-bit uncompressed true colour (image type 2), no image ID, no colour map,
// bottom row first (descriptor 0), the layout the program's image reader takes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/forge/pictures/picture.h"

namespace assetgen {

// The whole file. Pictures wider or higher than 65535 pixels cannot be stored: empty result.
std::vector<uint8_t> encodeTga(const Picture& picture);

}  // namespace assetgen
