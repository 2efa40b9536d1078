// Writes the 18-byte header and the pixels as blue, green, red, bottom row first.
#include "tools/forge/formats/tga_writer.h"

namespace assetgen {

std::vector<uint8_t> encodeTga(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0 || picture.width > 0xFFFF ||
      picture.height > 0xFFFF) {
    return {};
  }
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = uint8_t(picture.width & 0xFF);
  out[13] = uint8_t(picture.width >> 8);
  out[14] = uint8_t(picture.height & 0xFF);
  out[15] = uint8_t(picture.height >> 8);
  out[16] = 24;
  out.reserve(out.size() + picture.rgb.size());
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.at(x, y);
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
  }
  return out;
}

}  // namespace assetgen
