// Writes small uncompressed 24-bit TGA pictures for tests: the pixels are given as the file stores
// them (blue, green, red; bottom row first; rows tightly packed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Bgr {
  uint8_t b, g, r;
};

// width x height pixels of one colour.
std::vector<uint8_t> solidPixels(uint16_t width, uint16_t height, Bgr colour);
// The whole file: an 18-byte header (type 2, 24 bits, bottom-up) and the pixels.
std::vector<uint8_t> tgaBytes(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr,
                              uint8_t bitsPerPixel = 24);
void writeTga(const std::string& path, uint16_t width, uint16_t height,
              const std::vector<uint8_t>& bgr, uint8_t bitsPerPixel = 24);
