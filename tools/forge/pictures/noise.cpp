// Lattice-hash noise: value noise with quintic fade, fractal sums and jittered-grid cells.
#include "tools/forge/pictures/noise.h"

#include <cmath>

namespace assetgen {

namespace {

int wrap(int v, int period) {
  if (period <= 0) return v;
  const int m = v % period;
  return m < 0 ? m + period : m;
}

float fade(float t) {
  return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t) {
  return a + (b - a) * t;
}

}  // namespace

uint32_t hash3(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u;
  h ^= uint32_t(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= uint32_t(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float hashUnit(int32_t x, int32_t y, uint32_t seed) {
  return float(hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float valueNoise(float x, float y, int period, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int ix = int(fx);
  const int iy = int(fy);
  const float tx = fade(x - fx);
  const float ty = fade(y - fy);
  const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
  const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
  const float a = lerp(hashUnit(x0, y0, seed), hashUnit(x1, y0, seed), tx);
  const float b = lerp(hashUnit(x0, y1, seed), hashUnit(x1, y1, seed), tx);
  return lerp(a, b, ty);
}

float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f;
  float amplitude = 1.0f;
  float total = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * valueNoise(x, y, period, seed + uint32_t(o) * 7919u);
    total += amplitude;
    amplitude *= gain;
    x *= 2.0f;
    y *= 2.0f;
    if (period > 0) period *= 2;
  }
  return sum / total;
}

CellDistance cellNoise(float x, float y, int period, uint32_t seed) {
  const int ix = int(std::floor(x));
  const int iy = int(std::floor(y));
  CellDistance out{1e9f, 1e9f, 0};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int cx = ix + dx, cy = iy + dy;
      const int wx = wrap(cx, period), wy = wrap(cy, period);
      const float px = float(cx) + hashUnit(wx, wy, seed);
      const float py = float(cy) + hashUnit(wx, wy, seed + 1);
      const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
      if (d < out.f1) {
        out.f2 = out.f1;
        out.f1 = d;
        out.cell = hash3(wx, wy, seed + 2);
      } else if (d < out.f2) {
        out.f2 = d;
      }
    }
  }
  return out;
}

float veinNoise(float x, float y, int period, int octaves, float sharpness, uint32_t seed) {
  const float n = fractalNoise(x, y, period, octaves, 0.5f, seed);
  const float ridge = 1.0f - std::fabs(n - 0.5f) * 2.0f;
  return std::pow(ridge, sharpness);
}

}  // namespace assetgen
