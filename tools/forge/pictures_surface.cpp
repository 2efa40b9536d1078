// The three surface textures: skin for the head, bone and flesh for the 3DS sets. Mid-toned with
// strong detail (veins, cracks, sutures, rivets), so the single white light has something to show.
#include <cmath>

#include "tools/forge/noise.h"
#include "tools/forge/pictures.h"

namespace assetgen {

void drawRivet(Picture& picture, float cx, float cy, float r, Rgb tone) {
  const int x0 = int(std::floor(cx - r - 2)), x1 = int(std::ceil(cx + r + 2));
  const int y0 = int(std::floor(cy - r - 2)), y1 = int(std::ceil(cy + r + 2));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const int wx = ((x % picture.width) + picture.width) % picture.width;
      const int wy = ((y % picture.height) + picture.height) % picture.height;
      const float dx = (float(x) + 0.5f - cx) / r, dy = (float(y) + 0.5f - cy) / r;
      const float d2 = dx * dx + dy * dy;
      const Rgb under = picture.get(wx, wy);
      if (d2 > 1.0f) {
        // A soft contact shadow around the head of the stud.
        const float shadow = smoothstep(1.6f, 1.0f, std::sqrt(d2)) * 0.45f;
        picture.set(wx, wy, scale(under, 1.0f - shadow));
        continue;
      }
      const float nz = std::sqrt(1.0f - d2);
      const float light = clamp01(-0.45f * dx - 0.55f * dy + 0.7f * nz);
      const float glint = std::pow(clamp01(light), 18.0f);
      Rgb c = add(scale(tone, 0.35f + 0.75f * light), scale(Rgb{255, 250, 240}, 0.6f * glint));
      const float edge = smoothstep(1.0f, 0.85f, std::sqrt(d2));
      picture.set(wx, wy, mix(under, c, edge));
    }
  }
}

Picture paintSkin() {
  const int n = 512;
  Picture pic(n, n);
  const Rgb base{156, 122, 98}, pale{196, 170, 140}, bruise{112, 62, 70}, vein{92, 30, 38};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const float u = float(x) / n * 8.0f, v = float(y) / n * 8.0f;
      const float mottle = fractalNoise(u, v, 8, 5, 0.55f, 11);
      Rgb c = mix(bruise, pale, smoothstep(0.25f, 0.8f, mottle));
      c = mix(c, base, 0.45f);
      const float veins = veinNoise(u * 0.9f, v * 0.9f, 0, 5, 14.0f, 23);
      const float fine = veinNoise(u * 2.3f, v * 2.3f, 0, 4, 22.0f, 29);
      c = mix(c, vein, clamp01(veins * 0.75f + fine * 0.45f));
      const CellDistance cells = cellNoise(u * 3.0f, v * 3.0f, 0, 31);
      const float crease = smoothstep(0.09f, 0.0f, cells.f2 - cells.f1);
      c = scale(c, 1.0f - 0.22f * crease);
      const float pores = valueNoise(float(x) * 0.9f, float(y) * 0.9f, 0, 37);
      c = scale(c, 0.9f + 0.2f * pores);
      pic.set(x, y, c);
    }
  }
  // A stitched seam over the side of the head (u near 0.6 wraps over the temple).
  for (int y = 0; y < n; ++y) {
    const float sx = 0.62f * n + 10.0f * std::sin(float(y) * 0.021f);
    for (int dx = -3; dx <= 3; ++dx) {
      const int x = int(sx) + dx;
      const float k = 1.0f - std::fabs(float(dx)) / 4.0f;
      pic.set(x, y, mix(pic.get(x, y), Rgb{70, 24, 28}, 0.7f * k));
    }
    if (y % 22 < 3) {
      for (int dx = -11; dx <= 11; ++dx) {
        const int x = int(sx) + dx;
        pic.set(x, y, mix(pic.get(x, y), Rgb{42, 30, 26}, 0.85f));
      }
    }
  }
  return pic;
}

Picture paintBone() {
  const int n = 256;
  Picture pic(n, n);
  const Rgb ivory{214, 198, 160}, umber{128, 100, 70}, crack{52, 36, 24};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const float u = float(x) / n * 8.0f, v = float(y) / n * 8.0f;
      const float grain = fractalNoise(u, v * 0.5f, 8, 5, 0.55f, 41);
      Rgb c = mix(umber, ivory, smoothstep(0.2f, 0.75f, grain));
      const float streak = valueNoise(u * 0.5f, v * 6.0f, 4, 43);
      c = scale(c, 0.88f + 0.2f * streak);
      const CellDistance cells = cellNoise(u * 0.75f, v * 0.75f, 6, 47);
      const float wobble = 0.04f * (valueNoise(u * 4.0f, v * 4.0f, 32, 53) - 0.5f);
      const float line = smoothstep(0.06f, 0.015f, cells.f2 - cells.f1 + wobble);
      c = mix(c, crack, 0.85f * line);
      const float pits = valueNoise(float(x) * 0.7f, float(y) * 0.7f, int(n * 0.7f), 59);
      if (pits > 0.88f) c = scale(c, 0.7f);
      pic.set(x, y, c);
    }
  }
  // A zigzag suture across the middle, the seam of two plates.
  for (int x = 0; x < n; ++x) {
    const float zig = std::fabs(std::fmod(float(x) * 0.25f, 2.0f) - 1.0f) * 9.0f - 4.5f;
    const int yc = n / 2 + int(zig + 3.0f * std::sin(float(x) * 6.2831853f / n * 3.0f));
    for (int dy = -2; dy <= 2; ++dy) {
      const int y = (yc + dy + n) % n;
      pic.set(x, y, mix(pic.get(x, y), crack, dy == 0 ? 0.9f : 0.45f));
    }
  }
  return pic;
}

Picture paintFlesh() {
  const int n = 256;
  Picture pic(n, n);
  const Rgb deep{72, 22, 22}, flesh{158, 72, 60}, ridge{206, 132, 112};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const float u = float(x) / n * 4.0f, v = float(y) / n * 4.0f;
      const float folds = veinNoise(u, v, 4, 5, 3.0f, 61);
      Rgb c = mix(deep, flesh, smoothstep(0.1f, 0.6f, folds));
      c = mix(c, ridge, smoothstep(0.75f, 1.0f, folds));
      const float wet = valueNoise(float(x) * 0.25f, float(y) * 0.25f, n / 4, 67);
      c = scale(c, 0.85f + 0.3f * wet);
      const float capillary = veinNoise(u * 4.0f, v * 4.0f, 16, 3, 30.0f, 71);
      c = mix(c, Rgb{60, 10, 16}, 0.6f * capillary);
      pic.set(x, y, c);
    }
  }
  // A riveted metal band holds the tissue together: machine and organ in one surface.
  const int top = 112, bottom = 144;
  for (int y = top; y < bottom; ++y) {
    const float t = float(y - top) / float(bottom - top);
    const float shade = 0.55f + 0.45f * std::sin(t * 3.14159f);
    for (int x = 0; x < n; ++x) {
      const float brush = valueNoise(float(x) * 0.05f, float(y) * 1.3f, 0, 73);
      pic.set(x, y, scale(Rgb{150, 156, 166}, shade * (0.8f + 0.3f * brush)));
    }
  }
  for (int i = 0; i < 8; ++i) {
    drawRivet(pic, float(i) * 32.0f + 16.0f, 128.0f, 6.5f, Rgb{170, 176, 186});
  }
  return pic;
}

}  // namespace assetgen
