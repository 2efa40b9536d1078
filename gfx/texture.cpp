#include "gfx/texture.h"

int Texture::load(const char*, int) {
  return 1;
}
void Texture::buildMask(const uint8_t*) {}
void Texture::release() {}
void Texture::draw(uint16_t, uint16_t) {}
void Texture::drawMask() {}
