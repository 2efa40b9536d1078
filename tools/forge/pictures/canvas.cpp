// The cairo bridge: ARGB32 surface in, RGB Picture out.
#include "tools/forge/pictures/canvas.h"

namespace assetgen {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::paintPicture(const Picture& picture) {
  cairo_surface_flush(surface_);
  unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_ && y < picture.height; ++y) {
    uint32_t* out = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < width_ && x < picture.width; ++x) {
      const uint8_t* p = picture.at(x, y);
      out[x] = 0xFF000000u | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
  }
  cairo_surface_mark_dirty(surface_);
}

const uint32_t* Canvas::row(int y) {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  return reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
}

Picture Canvas::toPicture() {
  Picture out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* in = row(y);
    for (int x = 0; x < width_; ++x) {
      uint8_t* p = out.at(x, y);
      p[0] = uint8_t(in[x] >> 16);
      p[1] = uint8_t(in[x] >> 8);
      p[2] = uint8_t(in[x]);
    }
  }
  return out;
}

float Canvas::coverage(int x, int y) {
  return float(row(y)[x] >> 24) / 255.0f;
}

Picture Canvas::toCutOut(float threshold) {
  Picture out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* in = row(y);
    for (int x = 0; x < width_; ++x) {
      const uint32_t a = in[x] >> 24;
      if (a == 0 || float(a) / 255.0f < threshold) continue;
      Rgb c{float((in[x] >> 16) & 0xFF), float((in[x] >> 8) & 0xFF), float(in[x] & 0xFF)};
      out.set(x, y, scale(c, 255.0f / float(a)));
      uint8_t* p = out.at(x, y);
      for (int k = 0; k < 3; ++k) p[k] = p[k] < 2 ? 2 : p[k];  // opaque is never see-through
    }
  }
  return out;
}

double drawCentredText(cairo_t* cr, const char* face, bool bold, double size, double centreX,
                       double baselineY, const char* text) {
  cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  cairo_move_to(cr, centreX - ext.x_advance / 2.0, baselineY);
  cairo_show_text(cr, text);
  return ext.x_advance;
}

}  // namespace assetgen
