// The metal tile "s_p.tga": four brushed steel plates with bevelled seams, an engraved border and
// ring on each plate, rivets at the corners, scratches, and rust eating in from the seams. It tiles
// in both directions (every noise repeats with the picture), so the sets may repeat it freely.
#include <algorithm>
#include <cmath>

#include "tools/forge/pictures/noise.h"
#include "tools/forge/pictures/pictures.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kSize = 256;
constexpr int kPlate = kSize / 2;

// Depth of the engraving at a point of a plate (0 none, 1 the bottom of a groove): an inset
// border, two rings and ticks between them.
float engraving(float px, float py) {
  const float c = float(kPlate) * 0.5f;
  const float dx = px - c, dy = py - c;
  const float r = std::sqrt(dx * dx + dy * dy);
  auto groove = [](float distance, float halfWidth) {
    return smoothstep(halfWidth + 0.8f, halfWidth - 0.2f, std::fabs(distance));
  };
  const float border =
      std::fmin(std::fmin(px, float(kPlate) - px), std::fmin(py, float(kPlate) - py));
  float depth = groove(border - 14.0f, 0.9f);
  depth = std::fmax(depth, groove(r - 38.0f, 1.0f));
  depth = std::fmax(depth, groove(r - 46.0f, 0.7f));
  const float angle = std::atan2(dy, dx);
  const float tick = std::fabs(std::remainder(angle * 12.0f / (2.0f * kPi), 1.0f));
  if (r > 38.0f && r < 46.0f) depth = std::fmax(depth, groove(tick * r * 0.52f, 0.8f));
  return depth;
}

// Distance in pixels from (x, y) to the nearest plate seam.
float seamDistance(int x, int y) {
  const int px = x % kPlate, py = y % kPlate;
  return float(std::min(std::min(px, kPlate - 1 - px), std::min(py, kPlate - 1 - py)));
}

void scratch(Picture& pic, uint32_t index) {
  const float x0 = hashUnit(int32_t(index), 0, 211) * kSize;
  const float y0 = hashUnit(int32_t(index), 1, 211) * kSize;
  const float angle = hashUnit(int32_t(index), 2, 211) * 2.0f * kPi;
  const float length = 12.0f + 60.0f * hashUnit(int32_t(index), 3, 211);
  const bool bright = hashUnit(int32_t(index), 4, 211) < 0.6f;
  for (float t = 0.0f; t < length; t += 0.5f) {
    const float fade = std::sin(kPi * t / length);
    const int x = (int(std::floor(x0 + std::cos(angle) * t)) + kSize) % kSize;
    const int y = (int(std::floor(y0 + std::sin(angle) * t)) + kSize) % kSize;
    const Rgb under = pic.get(x, y);
    pic.set(
        x, y,
        bright ? mix(under, Rgb{214, 218, 224}, 0.4f * fade) : scale(under, 1.0f - 0.4f * fade));
  }
}

}  // namespace

Picture paintMetal() {
  Picture pic(kSize, kSize);
  const Rgb steel{150, 154, 162}, dark{84, 88, 96}, rust{124, 66, 36}, scale_{70, 38, 22};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float u = float(x) / kSize * 8.0f, v = float(y) / kSize * 8.0f;
      const float grain = fractalNoise(u, v, 8, 4, 0.5f, 201);
      Rgb c = mix(dark, steel, smoothstep(0.2f, 0.8f, grain));
      // Brushed along x: long streaks, short across.
      const float brush = valueNoise(float(x) / kSize * 4.0f, float(y), 4, 203);
      c = scale(c, 0.86f + 0.22f * brush);
      // Each plate its own shade, the seams a dark groove with a lit bevel below.
      const int plate = (x / kPlate) + 2 * (y / kPlate);
      c = scale(c, 0.9f + 0.2f * hashUnit(plate, 0, 205));
      const float seam = seamDistance(x, y);
      if (seam < 1.5f)
        c = scale(c, 0.35f);
      else if (seam < 2.5f)
        c = scale(c, 1.25f);
      // The engraving: dark in the groove, a light edge where the groove faces the light.
      const float px = float(x % kPlate) + 0.5f, py = float(y % kPlate) + 0.5f;
      const float depth = engraving(px, py);
      const float edge = clamp01(engraving(px + 1.0f, py + 1.0f) - depth);
      c = scale(c, 1.0f - 0.5f * depth);
      c = mix(c, Rgb{226, 228, 232}, 0.5f * edge);
      // Rust creeps in from the seams in ragged patches, with darker scale in its middle.
      const float ragged = fractalNoise(u * 2.0f, v * 2.0f, 16, 4, 0.6f, 207);
      const float threshold = 0.72f - 0.3f * smoothstep(22.0f, 0.0f, seam);
      const float rustAmount = smoothstep(threshold, threshold + 0.08f, ragged);
      const float flake = valueNoise(float(x) * 0.375f, float(y) * 0.375f, kSize * 3 / 8, 209);
      c = mix(c, mix(rust, scale_, smoothstep(0.4f, 0.9f, flake)), 0.9f * rustAmount);
      pic.set(x, y, c);
    }
  }
  for (uint32_t i = 0; i < 40; ++i) scratch(pic, i);
  for (int plate = 0; plate < 4; ++plate) {
    const float x0 = float((plate % 2) * kPlate), y0 = float((plate / 2) * kPlate);
    for (float cx : {7.0f, float(kPlate) - 7.0f})
      for (float cy : {7.0f, float(kPlate) - 7.0f})
        drawRivet(pic, x0 + cx, y0 + cy, 4.5f, Rgb{168, 172, 180});
  }
  return pic;
}

}  // namespace assetgen
