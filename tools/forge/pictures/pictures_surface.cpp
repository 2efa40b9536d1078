// The three surface textures: skin for the head, bone and flesh for the 3DS sets. Mid-toned with
// strong detail (veins, cracks, sutures, rivets), so the single white light has something to show.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/forge/meshes/head.h"
#include "tools/forge/pictures/noise.h"
#include "tools/forge/pictures/pictures.h"

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

// The skin is painted for the head's layout: a disc centred on the right ear whose rim is the
// face's centre line (see head.h). Pores, mottling and veins come from noise in picture space
// (the layout keeps proportions, so they stay round on the face); lips, lids, brows and nostrils
// from the sculpt's own marks, found on a coarser grid and blended between its points.
Picture paintSkin() {
  const int n = 512, grid = 128;
  std::vector<SkinMarks> marks((grid + 1) * (grid + 1));
  for (int gy = 0; gy <= grid; ++gy) {
    for (int gx = 0; gx <= grid; ++gx) {
      Vec3 d;
      skinDirection({float(gx) / grid, 1.0f - float(gy) / grid}, d);
      if (d.x < 0.0f) d.x = 0.0f;  // outside the disc: the rim's marks
      marks[size_t(gy) * (grid + 1) + size_t(gx)] = skinMarks(headSurface(normalized(d)));
    }
  }
  auto marksAt = [&](int x, int y) {
    const float fx = (float(x) + 0.5f) / n * grid, fy = (float(y) + 0.5f) / n * grid;
    const int x0 = std::min(int(fx), grid - 1), y0 = std::min(int(fy), grid - 1);
    const float tx = fx - float(x0), ty = fy - float(y0);
    SkinMarks out;
    float* fields[] = {&out.lips, &out.lidLine, &out.lids, &out.brows, &out.nostrils};
    for (int k = 0; k < 5; ++k) {
      auto field = [&](int gx, int gy) {
        const SkinMarks& m = marks[size_t(gy) * (grid + 1) + size_t(gx)];
        const float values[] = {m.lips, m.lidLine, m.lids, m.brows, m.nostrils};
        return values[k];
      };
      const float top = field(x0, y0) + (field(x0 + 1, y0) - field(x0, y0)) * tx;
      const float bottom = field(x0, y0 + 1) + (field(x0 + 1, y0 + 1) - field(x0, y0 + 1)) * tx;
      *fields[k] = top + (bottom - top) * ty;
    }
    return out;
  };
  Picture pic(n, n);
  const Rgb base{160, 124, 100}, pale{200, 172, 142}, bruise{112, 62, 70}, vein{92, 30, 38};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const float u = float(x) / n * 8.0f, v = float(y) / n * 8.0f;
      const float mottle = fractalNoise(u, v, 8, 5, 0.55f, 11);
      Rgb c = mix(bruise, pale, smoothstep(0.25f, 0.8f, mottle));
      c = mix(c, base, 0.5f);
      const float veins = veinNoise(u * 0.9f, v * 0.9f, 0, 5, 14.0f, 23);
      const float fine = veinNoise(u * 2.3f, v * 2.3f, 0, 4, 22.0f, 29);
      c = mix(c, vein, clamp01(veins * 0.6f + fine * 0.35f));
      const CellDistance cells = cellNoise(u * 3.0f, v * 3.0f, 0, 31);
      const float crease = smoothstep(0.09f, 0.0f, cells.f2 - cells.f1);
      c = scale(c, 1.0f - 0.15f * crease);
      const float pores = valueNoise(float(x) * 0.9f, float(y) * 0.9f, 0, 37);
      c = scale(c, 0.9f + 0.2f * pores);
      const SkinMarks m = marksAt(x, y);
      c = mix(c, Rgb{108, 66, 78}, 0.5f * m.lids);
      c = mix(c, Rgb{140, 72, 72}, 0.6f * m.lips);
      const float hair = valueNoise(float(x) * 0.8f, float(y) * 0.12f, 0, 39);
      c = mix(c, Rgb{60, 40, 30}, m.brows * (0.35f + 0.45f * hair));
      c = mix(c, Rgb{36, 18, 18}, 0.9f * m.lidLine);
      c = mix(c, Rgb{30, 12, 12}, 0.9f * m.nostrils);
      pic.set(x, y, c);
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
