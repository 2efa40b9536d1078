// Colour helpers, the masking rule and the PNG preview of a generated picture.
#include "tools/forge/pictures/picture.h"

#include <algorithm>
#include <cmath>

#include "tools/common/png_writer.h"

namespace assetgen {

Rgb mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb scale(Rgb c, float f) {
  return {c.r * f, c.g * f, c.b * f};
}
Rgb add(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
float clamp01(float v) {
  return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
float smoothstep(float edge0, float edge1, float x) {
  const float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

namespace {
uint8_t toByte(float v) {
  const float r = std::round(v);
  return uint8_t(r < 0.0f ? 0.0f : (r > 255.0f ? 255.0f : r));
}
}  // namespace

void Picture::set(int x, int y, Rgb c) {
  uint8_t* p = at(x, y);
  p[0] = toByte(c.r);
  p[1] = toByte(c.g);
  p[2] = toByte(c.b);
}

Rgb Picture::get(int x, int y) const {
  const uint8_t* p = at(x, y);
  return {float(p[0]), float(p[1]), float(p[2])};
}

void keepVisibleOffBlack(Picture& picture) {
  for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
    uint8_t* p = &picture.rgb[i];
    if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
    for (int c = 0; c < 3; ++c) p[c] = std::max<uint8_t>(p[c], 1);
  }
}

void blackBands(Picture& picture, int rows) {
  for (int y = 0; y < picture.height; ++y) {
    if (y >= rows && y < picture.height - rows) continue;
    std::fill_n(picture.at(0, y), size_t(picture.width) * 3, uint8_t(0));
  }
}

bool writePreviewPng(const Picture& picture, const std::string& path, std::string& error) {
  return writePng(path, picture.rgb.data(), picture.width, picture.height, error);
}

}  // namespace assetgen
