// The frame overlay in cold metal (masked: pure black shows the scene), the scrolling strip of
// light strokes.
#include <cmath>

#include "tools/forge/pictures/canvas.h"
#include "tools/forge/pictures/noise.h"
#include "tools/forge/pictures/pictures.h"

namespace assetgen {

namespace {

const Rgb kSteelDark{38, 44, 54};
const Rgb kSteelLight{176, 186, 202};

// Brushed steel: `across` in 0..1 gives the rounded profile, `along` the brush direction.
Rgb steel(float across, float along, uint32_t seed) {
  const float profile = 0.35f + 0.65f * std::sin(3.14159f * clamp01(across));
  const float brush = valueNoise(across * 40.0f, along * 0.08f, 0, seed);
  const float grain = hashUnit(int(across * 1000.0f), int(along), seed + 1);
  return scale(mix(kSteelDark, kSteelLight, profile), 0.82f + 0.22f * brush + 0.06f * grain);
}

}  // namespace

Picture paintFrameSide(bool right) {
  const int w = 21, h = 600;
  Picture pic(w, h);
  for (int y = 0; y < h; ++y) {
    // The inner flange is toothed: every 40 rows a 14-row tooth reaches to the picture edge.
    const bool tooth = (y % 40) >= 13 && (y % 40) < 27;
    const int solid = tooth ? 21 : 15;
    for (int i = 0; i < solid; ++i) {
      const int x = right ? w - 1 - i : i;
      Rgb c = steel(float(i) / 15.0f, float(y), 201);
      if (i >= 15) c = scale(steel(float(i - 15) / 6.0f, float(y), 203), 0.8f);
      if (i == 11 && !tooth) c = scale(c, 0.55f);  // engraved groove along the bar
      pic.set(x, y, c);
    }
  }
  for (int y = 20; y < h; y += 40)
    drawRivet(pic, right ? 13.5f : 7.5f, float(y), 3.2f, kSteelLight);
  keepVisibleOffBlack(pic);
  return pic;
}

Picture paintFrameBar(bool bottom) {
  const int w = 332, h = 43;
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  // A trapezoid: wide on the screen edge, narrowing towards the picture, with clipped corners.
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, w, 0);
  cairo_line_to(cr, w - 24, 30);
  cairo_line_to(cr, w - 40, h);
  cairo_line_to(cr, 40, h);
  cairo_line_to(cr, 24, 30);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  Picture pic = canvas.toCutOut(0.5f);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (pic.at(x, y)[0] == 0) continue;
      const float along = float(x) * 7.0f;
      Rgb c = steel(0.15f + 0.7f * float(y) / float(h), along, 211);
      if (y == 10 || y == 31) c = scale(c, 0.5f);  // two engraved rails
      if (y == 11 || y == 32) c = scale(c, 1.25f);
      pic.set(x, y, c);
    }
  }
  for (int i = 0; i < 7; ++i) drawRivet(pic, 66.0f + 33.3f * float(i), 21.0f, 4.0f, kSteelLight);
  if (bottom) {
    Picture flipped(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) flipped.set(x, y, pic.get(x, h - 1 - y));
    pic = flipped;
  }
  keepVisibleOffBlack(pic);
  return pic;
}

Picture paintStrip() {
  const int w = 48, h = 256;
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, 0.78, 0.82, 0.86);
  // A column of glyph-like marks: ticks of varying length, short runes and dots.
  for (int row = 0; row < 32; ++row) {
    const double y = 4.0 + row * 8.0;
    const float r = hashUnit(row, 0, 301);
    const double len = 6.0 + 30.0 * hashUnit(row, 1, 301);
    cairo_set_line_width(cr, r > 0.7f ? 2.0 : 1.2);
    cairo_move_to(cr, 6.0, y);
    cairo_line_to(cr, 6.0 + len, y);
    cairo_stroke(cr);
    if (hashUnit(row, 2, 301) > 0.5f) {
      const double x = 10.0 + 26.0 * hashUnit(row, 3, 301);
      cairo_move_to(cr, x, y - 3.0);
      cairo_line_to(cr, x + 3.0, y + 3.0);
      cairo_stroke(cr);
    }
    if (hashUnit(row, 4, 301) > 0.6f) {
      cairo_arc(cr, 42.0, y, 1.4, 0, 6.2831853);
      cairo_fill(cr);
    }
  }
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, 2.5, 0);
  cairo_line_to(cr, 2.5, h);
  cairo_stroke(cr);
  return canvas.toPicture();
}

}  // namespace assetgen
