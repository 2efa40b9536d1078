// Texture slots: upload of a picture and its black-is-see-through mask, and the screen-space quad
// that draws them into the 800 x 600 overlay space of the letterbox.
#include "gfx/texture.h"

#include <vector>

#include "gfx/gl.h"
#include "gfx/image_file.h"
#include "gfx/picture_area.h"
#include "gfx/tight_rows.h"
#include "platform/platform.h"

namespace {

void uploadMipmapped(uint32_t width, uint32_t height, const uint8_t* rgb) {
  TightRows rows;
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, GLint(width), GLint(height), GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

// Texture coordinate t = 1 at the top: pictures are stored bottom row first.
void drawQuad(uint32_t width, uint32_t height) {
  const double w = width;
  const double h = height;
  glBegin(GL_QUADS);
  glTexCoord2i(0, 1);
  glVertex2d(0.0, 0.0);
  glTexCoord2i(1, 1);
  glVertex2d(w, 0.0);
  glTexCoord2i(1, 0);
  glVertex2d(w, h);
  glTexCoord2i(0, 0);
  glVertex2d(0.0, h);
  glEnd();
}

}  // namespace

int Texture::load(const char* fileName, int withMask) {
  ImageFile image;
  // Without pixels there is nothing sound to upload: the slot stays as it was (empty).
  if (!image.load(fileName) || !image.getPixels()) return 1;
  hasMask = withMask;
  glGenTextures(1, &textureName);
  image.swapRedBlue();
  width = image.getWidth();
  height = image.getHeight();
  glBindTexture(GL_TEXTURE_2D, textureName);
  uploadMipmapped(width, height, image.getPixels());
  // Only the full-size level is sampled, although the mipmap levels exist.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (hasMask) buildMask(image.getPixels());
  return 1;
}

void Texture::buildMask(const uint8_t* rgbPixels) {
  hasMask = 1;
  glGenTextures(1, &maskName);
  glBindTexture(GL_TEXTURE_2D, maskName);
  const size_t pixelCount = size_t(width) * height;
  std::vector<uint8_t> mask(pixelCount * 3, 255);
  for (size_t p = 0; p < pixelCount * 3; p += 3) {
    if (rgbPixels[p] || rgbPixels[p + 1] || rgbPixels[p + 2]) {
      mask[p] = mask[p + 1] = mask[p + 2] = 0;
    }
  }
  // The mask keeps GL's initial filters and so does use its mipmap levels.
  uploadMipmapped(width, height, mask.data());
}

void Texture::release() {
  // At process exit the context is gone and the names with it; deleting then would be meaningless.
  if (platform::glContextCurrent()) {
    if (textureName) glDeleteTextures(1, &textureName);
    if (maskName) glDeleteTextures(1, &maskName);
  }
  textureName = 0;
  maskName = 0;
  width = 0;
  height = 0;
  hasMask = 0;
}

void Texture::drawMask() {
  glBindTexture(GL_TEXTURE_2D, maskName);
  // The frame buffer is multiplied by the mask: it survives only under the picture's black pixels.
  glEnable(GL_BLEND);
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  drawQuad(width, height);
}

void Texture::draw(uint16_t x, uint16_t y) {
  setPictureAreaOrtho();
  glTranslated(double(x), double(y), 0.0);
  if (hasMask) {
    drawMask();
    // The picture is added onto the masked frame buffer; this blending outlives the call.
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
  }
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glBindTexture(GL_TEXTURE_2D, textureName);
  drawQuad(width, height);
  glTranslated(-double(x), -double(y), 0.0);
  setPictureAreaPerspective();
}
