// TGA reading: the header fields this system uses, then the pixel bytes as stored. Everything is
// checked before the reader's state is touched, so a refused file leaves it as it was.
#include "gfx/image_file.h"

#include <cstdint>

#include "gfx/byte_reader.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderBytes = 18;
constexpr uint8_t kUncompressedTrueColour = 2;
constexpr uint8_t kOnlyDepth = 24;  // every user steps three bytes per pixel

}  // namespace

bool ImageFile::load(const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!platform::readWholeFile(fileName, bytes)) return false;
  return parse(bytes.data(), bytes.size());
}

bool ImageFile::parse(const uint8_t* data, size_t size) {
  if (!data || size < kHeaderBytes) return false;
  ByteReader in(data, size);
  uint8_t idLength = 0, colourMapType = 0, type = 0, depth = 0, descriptor = 0;
  uint16_t w = 0, h = 0;
  in.readU8(idLength);
  in.readU8(colourMapType);
  in.readU8(type);
  in.skip(12 - 3);
  in.readU16(w);
  in.readU16(h);
  in.readU8(depth);
  in.readU8(descriptor);  // origin bits are not interpreted: rows stay in file order
  // The pixels are always taken from byte 18, so an image ID or a colour map would be read as
  // pixels; refuse them rather than show garbage.
  if (idLength != 0 || colourMapType != 0) return false;
  if (type != kUncompressedTrueColour || depth != kOnlyDepth) return false;
  const uint64_t byteCount = uint64_t(w) * h * depth / 8;
  if (byteCount > uint64_t(INT32_MAX) || byteCount > in.remaining()) return false;

  width = w;
  height = h;
  bitsPerPixel = depth;
  imageType = type;
  pixels.assign(in.current(), in.current() + byteCount);
  loaded = true;
  return true;
}

void ImageFile::release() {
  pixels.clear();
  pixels.shrink_to_fit();
  loaded = false;
}

void ImageFile::swapRedBlue() {
  // Bounded by the buffer as well as by the pixel count, so a buffer of an odd size cannot be
  // overrun.
  const size_t count = size_t(width) * height;
  for (size_t i = 0; i < count && 3 * i + 2 < pixels.size(); ++i) {
    const uint8_t blue = pixels[3 * i];
    pixels[3 * i] = pixels[3 * i + 2];
    pixels[3 * i + 2] = blue;
  }
}
