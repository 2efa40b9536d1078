// The two pictures with words on them: "loading.tga", shown while the assets load, and the closing
// picture "s_end.tga" with the credits. Both keep their top and bottom 50 rows black.
#include <cmath>

#include "app/presentation.h"
#include "tools/forge/pictures/canvas.h"
#include "tools/forge/pictures/noise.h"
#include "tools/forge/pictures/pictures.h"

namespace assetgen {

const char* const kTitle = kPresentationTitle;

namespace {

const char* const kSerif = "DejaVu Serif";
const char* const kMono = "DejaVu Sans Mono";

// A dim dried-red glow with a faint grain, the ground both pictures share.
void paintGlowGround(Picture& pic, float strength) {
  for (int y = 0; y < pic.height; ++y) {
    for (int x = 0; x < pic.width; ++x) {
      const float dx = (float(x) - 400.0f) / 420.0f, dy = (float(y) - 300.0f) / 200.0f;
      const float glow = std::exp(-2.2f * (dx * dx + dy * dy)) * strength;
      const float grain = fractalNoise(float(x) / 60.0f, float(y) / 60.0f, 0, 4, 0.5f, 401);
      pic.set(x, y, scale(Rgb{70, 16, 12}, glow * (0.55f + 0.8f * grain)));
    }
  }
}

void drawRule(cairo_t* cr, double y, double halfWidth) {
  cairo_pattern_t* fade = cairo_pattern_create_linear(400 - halfWidth, 0, 400 + halfWidth, 0);
  cairo_pattern_add_color_stop_rgba(fade, 0, 0.75, 0.70, 0.60, 0);
  cairo_pattern_add_color_stop_rgba(fade, 0.5, 0.75, 0.70, 0.60, 0.9);
  cairo_pattern_add_color_stop_rgba(fade, 1, 0.75, 0.70, 0.60, 0);
  cairo_set_source(cr, fade);
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, 400 - halfWidth, y + 0.5);
  cairo_line_to(cr, 400 + halfWidth, y + 0.5);
  cairo_stroke(cr);
  cairo_pattern_destroy(fade);
}

void drawTitle(cairo_t* cr, double baseline) {
  cairo_set_source_rgb(cr, 0.93, 0.88, 0.76);
  drawCentredText(cr, kSerif, false, 34, 400, baseline, kTitle);
  drawRule(cr, baseline + 18, 300);
  drawRule(cr, baseline - 46, 220);
}

}  // namespace

Picture paintLoading() {
  Picture ground(800, 600);
  paintGlowGround(ground, 0.8f);
  Canvas canvas(800, 600);
  canvas.paintPicture(ground);
  cairo_t* cr = canvas.cr();
  drawTitle(cr, 280);
  // The loading mark: a ring of twelve ticks, brighter towards the leading one, and the word.
  for (int i = 0; i < 12; ++i) {
    const double a = i * 3.14159265 / 6.0;
    const double fade = 0.15 + 0.85 * (i / 11.0);
    cairo_set_source_rgba(cr, 0.9, 0.25, 0.18, fade);
    cairo_set_line_width(cr, 3.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 400 + 12 * std::cos(a), 380 + 12 * std::sin(a));
    cairo_line_to(cr, 400 + 22 * std::cos(a), 380 + 22 * std::sin(a));
    cairo_stroke(cr);
  }
  cairo_set_source_rgb(cr, 0.62, 0.58, 0.52);
  drawCentredText(cr, kMono, false, 13, 400, 430, "l o a d i n g");
  Picture pic = canvas.toPicture();
  blackBands(pic, 50);
  return pic;
}

Picture paintEnd() {
  Picture ground(800, 600);
  paintGlowGround(ground, 0.55f);
  Canvas canvas(800, 600);
  canvas.paintPicture(ground);
  cairo_t* cr = canvas.cr();
  drawTitle(cr, 230);
  const char* const roles[3][2] = {
      {"code", "Karvenel"}, {"graphics", "Olmetra"}, {"music", "Quillory"}};
  for (int i = 0; i < 3; ++i) {
    const double y = 310 + i * 44;
    cairo_set_source_rgb(cr, 0.55, 0.52, 0.48);
    cairo_select_font_face(cr, kMono, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 14);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, roles[i][0], &ext);
    cairo_move_to(cr, 388 - ext.x_advance, y);
    cairo_show_text(cr, roles[i][0]);
    cairo_set_source_rgb(cr, 0.92, 0.86, 0.72);
    cairo_select_font_face(cr, kSerif, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 22);
    cairo_move_to(cr, 404, y);
    cairo_show_text(cr, roles[i][1]);
  }
  Picture pic = canvas.toPicture();
  blackBands(pic, 50);
  keepVisibleOffBlack(pic);
  return pic;
}

}  // namespace assetgen
