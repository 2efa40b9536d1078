// Minimal TGA writer for tests.
#include "support/tga_writer.h"

#include <algorithm>

#include "support/temp_dir.h"

std::vector<uint8_t> solidPixels(uint16_t width, uint16_t height, Bgr colour) {
  std::vector<uint8_t> out;
  out.reserve(size_t(width) * height * 3);
  for (size_t i = 0; i < size_t(width) * height; ++i) {
    out.push_back(colour.b);
    out.push_back(colour.g);
    out.push_back(colour.r);
  }
  return out;
}

std::vector<uint8_t> tgaBytes(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr,
                              uint8_t bitsPerPixel) {
  // Type 2 is uncompressed true colour; descriptor 0 is bottom row first.
  const uint8_t header[18] = {0,
                              0,
                              2,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              uint8_t(width & 0xFF),
                              uint8_t(width >> 8),
                              uint8_t(height & 0xFF),
                              uint8_t(height >> 8),
                              bitsPerPixel,
                              0};
  std::vector<uint8_t> out(sizeof header + bgr.size());
  std::copy(header, header + sizeof header, out.begin());
  std::copy(bgr.begin(), bgr.end(), out.begin() + sizeof header);
  return out;
}

void writeTga(const std::string& path, uint16_t width, uint16_t height,
              const std::vector<uint8_t>& bgr, uint8_t bitsPerPixel) {
  writeFile(path, tgaBytes(width, height, bgr, bitsPerPixel));
}
