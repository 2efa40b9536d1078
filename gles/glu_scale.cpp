#include "gles/glu_scale.h"

#include <algorithm>
#include <cmath>

namespace gles {

int gluNearestPower(int value) {
  if (value <= 0) return -1;
  int power = 1;
  for (;;) {
    if (value == 1) return power;
    if (value == 3) return power * 4;
    value >>= 1;
    power *= 2;
  }
}

namespace {

// One output pixel's box on the input: from (lowX + lowXPart) to (highX + highXPart), in input
// pixels, and the same vertically. GLU steps these boxes in float, and so must we to get its
// bytes.
struct Box {
  int lowX, highX, lowY, highY;
  float lowXPart, highXPart, lowYPart, highYPart;
};

class Source {
 public:
  Source(int components, int width, int height, const uint8_t* pixels)
      : components_(components), width_(width), height_(height), pixels_(pixels) {}
  // Reads are kept inside the picture; GLU's box edges can land one past it with zero weight.
  float at(int x, int y, int k) const {
    x = std::min(x, width_ - 1);
    y = std::min(y, height_ - 1);
    return float(pixels_[(size_t(y) * size_t(width_) + size_t(x)) * size_t(components_) + k]);
  }

 private:
  int components_, width_, height_;
  const uint8_t* pixels_;
};

// The weighted sum of the input under the box, in GLU's order of additions.
float boxSum(const Source& in, const Box& b, int k) {
  float total = 0.0f;
  if (b.highY > b.lowY && b.highX > b.lowX) {
    float yPart = 1 - b.lowYPart;
    total += in.at(b.lowX, b.lowY, k) * (yPart * (1 - b.lowXPart));
    for (int x = b.lowX + 1; x < b.highX; ++x) total += in.at(x, b.lowY, k) * yPart;
    total += in.at(b.highX, b.lowY, k) * (yPart * b.highXPart);
    yPart = b.highYPart;
    total += in.at(b.lowX, b.highY, k) * (yPart * (1 - b.lowXPart));
    for (int x = b.lowX + 1; x < b.highX; ++x) total += in.at(x, b.highY, k) * yPart;
    total += in.at(b.highX, b.highY, k) * (yPart * b.highXPart);
    for (int y = b.lowY + 1; y < b.highY; ++y)
      total += in.at(b.lowX, y, k) * (1 - b.lowXPart) + in.at(b.highX, y, k) * b.highXPart;
  } else if (b.highY > b.lowY) {
    const float xPart = b.highXPart - b.lowXPart;
    total += in.at(b.lowX, b.lowY, k) * ((1 - b.lowYPart) * xPart);
    for (int y = b.lowY + 1; y < b.highY; ++y) total += in.at(b.lowX, y, k) * xPart;
    total += in.at(b.lowX, b.highY, k) * (xPart * b.highYPart);
  } else if (b.highX > b.lowX) {
    const float yPart = b.highYPart - b.lowYPart;
    total += in.at(b.lowX, b.lowY, k) * ((1 - b.lowXPart) * yPart);
    for (int x = b.lowX + 1; x < b.highX; ++x) total += in.at(x, b.lowY, k) * yPart;
    total += in.at(b.highX, b.lowY, k) * (yPart * b.highXPart);
  } else {
    total += in.at(b.lowX, b.lowY, k) * ((b.highYPart - b.lowYPart) * (b.highXPart - b.lowXPart));
  }
  // Whole input pixels inside the box.
  for (int y = b.lowY + 1; y < b.highY; ++y)
    for (int x = b.lowX + 1; x < b.highX; ++x) total += in.at(x, y, k);
  return total;
}

// Moves a box edge one output pixel on.
void step(int& low, float& lowPart, int& high, float& highPart, int stepWhole, float stepPart) {
  low = high;
  lowPart = highPart;
  high += stepWhole;
  highPart += stepPart;
  if (highPart > 1) {
    highPart -= 1.0f;
    ++high;
  }
}

}  // namespace

std::vector<uint8_t> gluScale(int components, int width, int height, const uint8_t* in,
                              int outWidth, int outHeight) {
  if (width == outWidth * 2 && height == outHeight * 2)
    return gluHalve(components, width, height, in);
  std::vector<uint8_t> out(size_t(outWidth) * size_t(outHeight) * size_t(components));
  const Source source(components, width, height, in);
  const float convY = float(height) / float(outHeight);
  const float convX = float(width) / float(outWidth);
  const int convYWhole = int(std::floor(convY));
  const float convYPart = convY - float(convYWhole);
  const int convXWhole = int(std::floor(convX));
  const float convXPart = convX - float(convXWhole);
  const float area = convX * convY;

  Box b{};
  b.lowY = 0, b.lowYPart = 0, b.highY = convYWhole, b.highYPart = convYPart;
  for (int i = 0; i < outHeight; ++i) {
    b.highY = std::min(b.highY, height - 1);
    b.lowX = 0, b.lowXPart = 0, b.highX = convXWhole, b.highXPart = convXPart;
    for (int j = 0; j < outWidth; ++j) {
      uint8_t* pixel = &out[(size_t(i) * size_t(outWidth) + size_t(j)) * size_t(components)];
      for (int k = 0; k < components; ++k) pixel[k] = uint8_t(boxSum(source, b, k) / area);
      step(b.lowX, b.lowXPart, b.highX, b.highXPart, convXWhole, convXPart);
    }
    step(b.lowY, b.lowYPart, b.highY, b.highYPart, convYWhole, convYPart);
  }
  return out;
}

std::vector<uint8_t> gluHalve(int components, int width, int height, const uint8_t* in) {
  const int outWidth = std::max(width / 2, 1);
  const int outHeight = std::max(height / 2, 1);
  std::vector<uint8_t> out(size_t(outWidth) * size_t(outHeight) * size_t(components));
  const size_t row = size_t(width) * size_t(components);
  auto src = [&](int x, int y, int k) {
    return unsigned(in[size_t(y) * row + size_t(x) * size_t(components) + size_t(k)]);
  };
  for (int y = 0; y < outHeight; ++y)
    for (int x = 0; x < outWidth; ++x)
      for (int k = 0; k < components; ++k) {
        unsigned value;
        if (height == 1)  // a single row: pairs, rounded down
          value = (src(2 * x, 0, k) + src(2 * x + 1, 0, k)) / 2;
        else if (width == 1)
          value = (src(0, 2 * y, k) + src(0, 2 * y + 1, k)) / 2;
        else
          value = (src(2 * x, 2 * y, k) + src(2 * x + 1, 2 * y, k) + src(2 * x, 2 * y + 1, k) +
                   src(2 * x + 1, 2 * y + 1, k) + 2) /
                  4;
        out[(size_t(y) * size_t(outWidth) + size_t(x)) * size_t(components) + size_t(k)] =
            uint8_t(value);
      }
  return out;
}

}  // namespace gles
