#include "png_reader.h"

#include <png.h>

bool readPng(const std::string& path, RgbPicture& picture, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  picture.width = int(image.width);
  picture.height = int(image.height);
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    error = path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}
