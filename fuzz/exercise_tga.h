// One input through the TGA reader, as the fuzz target and the regression replay both run it.
// Returns an empty string, or the first broken promise of the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/image_file.h"

namespace fuzzcheck {

inline std::string exerciseTga(const uint8_t* data, size_t size) {
  // A reader that already holds a picture must keep it when the input is refused.
  static const uint8_t kTwoByOne[] = {0, 0, 2, 0, 0,  0, 0,  0,  0,  0,  0,  0,
                                      2, 0, 1, 0, 24, 0, 10, 20, 30, 40, 50, 60};
  ImageFile image;
  if (!image.parse(kTwoByOne, sizeof kTwoByOne)) return "the 2x1 reference picture is refused";
  if (!image.parse(data, size)) {
    if (image.getWidth() != 2 || image.getHeight() != 1 || image.getPixelBytes() != 6 ||
        image.getPixels()[0] != 10)
      return "a refused input changed the reader";
    ImageFile fresh;
    if (fresh.parse(data, size)) return "the same bytes parse once and are refused once";
    fresh.swapRedBlue();
    return fresh.getPixels() == nullptr ? "" : "a refused input left pixels in a fresh reader";
  }
  if (image.getBitsPerPixel() != 24) return "a picture of another depth was taken";
  const size_t expected = size_t(image.getWidth()) * image.getHeight() * 3;
  if (image.getPixelBytes() != expected) return "the pixel buffer does not match the header";
  if (expected + 18 > size) return "more pixels than the input holds";
  const std::vector<uint8_t> stored(data + 18, data + 18 + expected);
  image.swapRedBlue();
  image.swapRedBlue();
  if (expected && !std::equal(stored.begin(), stored.end(), image.getPixels()))
    return "two swaps do not give the stored pixels back";
  image.release();
  image.release();
  return image.getPixels() == nullptr ? "" : "pixels left after release";
}

}  // namespace fuzzcheck
