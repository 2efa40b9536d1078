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
// Columns [0, split) in one colour and the rest in another, every row alike.
std::vector<uint8_t> twoColumnPixels(uint16_t width, uint16_t height, uint16_t split, Bgr left,
                                     Bgr right);
// The whole file: an 18-byte header (bottom-up, no image id, no colour map) and the pixels. Type 2
// is uncompressed true colour; other types make files the reader must refuse.
std::vector<uint8_t> tgaBytes(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr,
                              uint8_t bitsPerPixel = 24, uint8_t imageType = 2);
void writeTga(const std::string& path, uint16_t width, uint16_t height,
              const std::vector<uint8_t>& bgr, uint8_t bitsPerPixel = 24);
