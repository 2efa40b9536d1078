// A texture slot: one picture uploaded as a mipmapped RGB texture, and optionally a mask texture
// that is white where the picture is pure black, so that the picture can be drawn with its black
// pixels see-through. Drawn as a screen-space quad in the 800 x 600 overlay space.
#pragma once

#include <cstdint>

class Texture {
 public:
  Texture() = default;
  ~Texture() { release(); }
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Always returns 1. A picture that cannot be read leaves the slot empty and uploads nothing.
  int load(const char* fileName, int withMask);
  // Builds and uploads the mask from RGB pixels of width x height.
  void buildMask(const uint8_t* rgbPixels);
  void release();

  // Draws the picture with its top-left corner at (x, y) in overlay units, masked if hasMask, then
  // restores the 3D projection.
  void draw(uint16_t x, uint16_t y);
  void drawMask();

  uint32_t textureName = 0;
  uint32_t maskName = 0;
  uint32_t width = 0;   // pixels
  uint32_t height = 0;  // pixels
  int32_t hasMask = 0;
};
