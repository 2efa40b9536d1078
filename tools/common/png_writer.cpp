// PNG encoding with libpng's write callbacks into a byte vector, then one file write that replaces
// the name (the output folder may be shared).
#include "tools/common/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

}  // namespace

bool encodePng(const uint8_t* rgb, int width, int height, std::vector<uint8_t>& out) {
  out.clear();
  if (!rgb || width <= 0 || height <= 0) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  // libpng reports its errors by longjmp; nothing on this frame needs destruction past here.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    out.clear();
    return false;
  }
  png_set_write_fn(png, &out, appendBytes, flushNothing);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Fast compression: a capture writes a thousand frames, and size matters less than time.
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  const size_t stride = size_t(width) * 3;
  for (int y = 0; y < height; ++y) png_write_row(png, const_cast<png_bytep>(rgb + y * stride));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool writePng(const std::string& path, const uint8_t* rgb, int width, int height,
              std::string& error) {
  std::vector<uint8_t> bytes;
  if (!encodePng(rgb, width, height, bytes)) {
    error = "cannot encode " + path + " as PNG";
    return false;
  }
  platform::File file = platform::File::create(path.c_str());
  if (!file.isOpen()) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  if (!file.write(bytes.data(), bytes.size()) || !file.close()) {
    error = "cannot write " + path + " (disk full?)";
    return false;
  }
  return true;
}
