// A picture as the generator builds it: 8-bit RGB, top row first, plus the small colour helpers
// the painters share. The TGA writer turns it into the file layout (BGR, bottom row first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
  float r = 0.0f;  // 0..255
  float g = 0.0f;
  float b = 0.0f;
};

Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float f);
Rgb add(Rgb a, Rgb b);
float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3, top row first

  Picture() = default;
  Picture(int w, int h) : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, 0) {}

  uint8_t* at(int x, int y) { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
  const uint8_t* at(int x, int y) const {
    return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
  }
  void set(int x, int y, Rgb c);
  Rgb get(int x, int y) const;
};

// Masked pictures treat pure black as see-through: lifts every channel of every other pixel to at
// least 1, so that dark but visible tones never turn into holes.
void keepVisibleOffBlack(Picture& picture);

// Blacks out rows [0, rows) and [height - rows, height): the letterbox bands.
void blackBands(Picture& picture, int rows);

// Writes the picture as a PNG (for looking at it); false with a reason on failure.
bool writePreviewPng(const Picture& picture, const std::string& path, std::string& error);

}  // namespace assetgen
