#include "gfx/image_file.h"

bool ImageFile::load(const char*) {
  return false;
}
bool ImageFile::parse(const uint8_t*, size_t) {
  return false;
}
void ImageFile::release() {
  pixels.clear();
  loaded = false;
}
void ImageFile::swapRedBlue() {}
