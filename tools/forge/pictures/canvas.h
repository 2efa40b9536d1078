// A cairo drawing surface the painters use for shapes and text, with the way back to a Picture.
// Fonts come from the Debian DejaVu set through cairo's toy font API.
#pragma once

#include <cairo.h>

#include "tools/forge/pictures/picture.h"

namespace assetgen {

class Canvas {
 public:
  Canvas(int width, int height);  // fully transparent
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() { return cr_; }
  // Replaces the content with an opaque picture, to draw on top of it.
  void paintPicture(const Picture& picture);
  // The content composed over black.
  Picture toPicture();
  // Opaque where coverage reaches `threshold` (0..1), pure black elsewhere; visible pixels keep
  // their un-premultiplied colour. For masked pictures with hard silhouettes.
  Picture toCutOut(float threshold);
  // Alpha coverage of a pixel in 0..1.
  float coverage(int x, int y);

 private:
  const uint32_t* row(int y);
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Centres `text` horizontally at baseline y in the given face and size; returns its width.
double drawCentredText(cairo_t* cr, const char* face, bool bold, double size, double centreX,
                       double baselineY, const char* text);

}  // namespace assetgen
