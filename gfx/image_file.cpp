// TGA reading: the header fields this system uses, then the pixel bytes as stored. Everything is
// checked before the reader's state is touched, so a refused file leaves it as it was.
#include "gfx/image_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "gfx/byte_reader.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderBytes = 18;
constexpr uint8_t kUncompressedTrueColour = 2;
constexpr uint8_t kOnlyDepth = 24;  // every user steps three bytes per pixel

// The header fields this reader uses, and the byte count of the pixels they announce.
struct PictureHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t depth = 0;
  uint8_t type = 0;
  uint64_t pixelBytes = 0;
};

// The first kHeaderBytes bytes of a file; false for a picture this reader does not take.
bool readHeader(const uint8_t* data, PictureHeader& header) {
  ByteReader in(data, kHeaderBytes);
  uint8_t idLength = 0, colourMapType = 0, descriptor = 0;
  in.readU8(idLength);
  in.readU8(colourMapType);
  in.readU8(header.type);
  in.skip(12 - 3);
  in.readU16(header.width);
  in.readU16(header.height);
  in.readU8(header.depth);
  in.readU8(descriptor);  // origin bits are not interpreted: rows stay in file order
  // The pixels are always taken from byte 18, so an image ID or a colour map would be read as
  // pixels; refuse them rather than show garbage.
  if (idLength != 0 || colourMapType != 0) return false;
  if (header.type != kUncompressedTrueColour || header.depth != kOnlyDepth) return false;
  header.pixelBytes = uint64_t(header.width) * header.height * header.depth / 8;
  return header.pixelBytes <= uint64_t(INT32_MAX);
}

}  // namespace

bool ImageFile::load(const char* fileName) {
  // The pixels go straight into their own buffer: reading the whole file first would copy every
  // byte once more.
  platform::File file = platform::File::openRead(fileName);
  uint8_t headerBytes[kHeaderBytes];
  PictureHeader header;
  if (!file.isOpen() || file.read(headerBytes, kHeaderBytes) != kHeaderBytes ||
      !readHeader(headerBytes, header))
    return false;
  const int64_t fileBytes = file.size();
  if (fileBytes < 0 || header.pixelBytes > uint64_t(fileBytes) - kHeaderBytes) return false;
  std::vector<uint8_t> read(size_t(header.pixelBytes));
  if (file.read(read.data(), read.size()) != read.size()) return false;

  width = header.width;
  height = header.height;
  bitsPerPixel = header.depth;
  imageType = header.type;
  pixels = std::move(read);
  loaded = true;
  return true;
}

bool ImageFile::parse(const uint8_t* data, size_t size) {
  PictureHeader header;
  if (!data || size < kHeaderBytes || !readHeader(data, header)) return false;
  if (header.pixelBytes > size - kHeaderBytes) return false;

  width = header.width;
  height = header.height;
  bitsPerPixel = header.depth;
  imageType = header.type;
  pixels.assign(data + kHeaderBytes, data + kHeaderBytes + header.pixelBytes);
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
  const size_t count = std::min(size_t(width) * height, pixels.size() / 3);
  // Through a plain pointer: a byte stored through the vector may alias the vector's own bounds,
  // which the compiler would then reload after every byte.
  uint8_t* p = pixels.data();
  for (size_t i = 0; i < count; ++i, p += 3) std::swap(p[0], p[2]);
}
