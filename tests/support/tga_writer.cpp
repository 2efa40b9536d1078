// Minimal TGA writer for tests.
#include "support/tga_writer.h"

#include <algorithm>

#include "support/temp_dir.h"

std::vector<uint8_t> twoColumnPixels(uint16_t width, uint16_t height, uint16_t split, Bgr left,
                                     Bgr right) {
  std::vector<uint8_t> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Bgr c = x < split ? left : right;
      out.insert(out.end(), {c.b, c.g, c.r});
    }
  return out;
}

std::vector<uint8_t> solidPixels(uint16_t width, uint16_t height, Bgr colour) {
  return twoColumnPixels(width, height, width, colour, colour);
}

std::vector<uint8_t> tgaBytes(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr,
                              uint8_t bitsPerPixel, uint8_t imageType) {
  std::vector<uint8_t> out(18 + bgr.size(), 0);
  out[2] = imageType;
  out[12] = uint8_t(width);
  out[13] = uint8_t(width >> 8);
  out[14] = uint8_t(height);
  out[15] = uint8_t(height >> 8);
  out[16] = bitsPerPixel;
  std::copy(bgr.begin(), bgr.end(), out.begin() + 18);
  return out;
}

void writeTga(const std::string& path, uint16_t width, uint16_t height,
              const std::vector<uint8_t>& bgr, uint8_t bitsPerPixel) {
  writeFile(path, tgaBytes(width, height, bgr, bitsPerPixel));
}
