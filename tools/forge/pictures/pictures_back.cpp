// "back01.tga": the background behind every scene. Dark and low in contrast so that the additive
// red glow and the white flashes carry the picture; its cells are 50x60 so that they look square
// once the picture is squeezed from 600 to 500 rows.
#include <cmath>

#include "tools/forge/pictures/noise.h"
#include "tools/forge/pictures/pictures.h"

namespace assetgen {

namespace {

// A softly blurred line pattern: 1 on the grid lines, falling off over a few pixels.
float blurredGrid(float x, float y) {
  const float gx = std::fabs(std::fmod(x + 25.0f, 50.0f) - 25.0f);
  const float gy = std::fabs(std::fmod(y + 30.0f, 60.0f) - 30.0f);
  const float sigma = 2.6f;
  const float lx = std::exp(-(gx * gx) / (2.0f * sigma * sigma));
  const float ly = std::exp(-(gy * gy) / (2.0f * sigma * sigma));
  return std::fmax(lx, ly);
}

}  // namespace

Picture paintBackground() {
  const int w = 800, h = 600;
  Picture pic(w, h);
  const Rgb shadow{6, 4, 4}, umber{34, 22, 18}, sinew{58, 18, 16}, steel{26, 30, 36};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float fx = float(x), fy = float(y) * (5.0f / 6.0f);  // as seen after the squeeze
      const float dx = (fx - 400.0f) / 400.0f, dy = (fy - 250.0f) / 250.0f;
      const float vignette = clamp01(1.0f - 0.75f * (dx * dx + dy * dy));
      const float cloud = fractalNoise(fx / 120.0f, fy / 120.0f, 0, 5, 0.55f, 101);
      Rgb c = mix(shadow, umber, smoothstep(0.3f, 0.75f, cloud) * vignette);
      const float veins = veinNoise(fx / 220.0f, fy / 220.0f, 0, 5, 10.0f, 103);
      const float thin = veinNoise(fx / 90.0f, fy / 90.0f, 0, 4, 18.0f, 107);
      c = mix(c, sinew, clamp01(0.55f * veins + 0.3f * thin) * (0.35f + 0.65f * vignette));
      const float grid = blurredGrid(float(x), float(y));
      c = mix(c, steel, 0.45f * grid * vignette);
      const float dust = hashUnit(x, y, 109);
      c = scale(c, (0.35f + 0.65f * vignette) * (0.94f + 0.12f * dust));
      pic.set(x, y, c);
    }
  }
  return pic;
}

}  // namespace assetgen
