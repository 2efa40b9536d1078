// TGA reading: the header fields this system uses, then the pixel bytes as stored. Everything is
// checked before the reader's state is touched, so a refused file leaves it as it was.
#include "gfx/image_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "gfx/byte_reader.h"
#include "gfx/load_failure.h"
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

// The first kHeaderBytes bytes of a file; false, with the reason, for a picture this reader does
// not take.
bool readHeader(const uint8_t* data, PictureHeader& header, std::string& why) {
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
  if (idLength != 0) {
    why = "has an image ID (length " + std::to_string(idLength) + "), which is not read";
    return false;
  }
  if (colourMapType != 0) {
    why = "has a colour map, which is not read";
    return false;
  }
  if (header.type != kUncompressedTrueColour) {
    why = "image type " + std::to_string(header.type) + "; only 2 (uncompressed) is read";
    return false;
  }
  if (header.depth != kOnlyDepth) {
    why = "depth " + std::to_string(header.depth) + " bits; only 24 is read";
    return false;
  }
  header.pixelBytes = uint64_t(header.width) * header.height * header.depth / 8;
  if (header.pixelBytes > uint64_t(INT32_MAX)) {
    why = "the pixel data would take " + std::to_string(header.pixelBytes) + " bytes";
    return false;
  }
  return true;
}

std::string shortOfPixels(uint64_t need, uint64_t have) {
  return "the pixel data needs " + std::to_string(need) + " bytes, the file has " +
         std::to_string(have);
}

const char* const kShorterThanHeader = "shorter than the 18-byte TGA header";

}  // namespace

bool ImageFile::load(const char* fileName) {
  if (!readFile(fileName)) {
    reportLoadFailure(fileName, failure_);
    return false;
  }
  return true;
}

bool ImageFile::readFile(const char* fileName) {
  // The pixels go straight into their own buffer: reading the whole file first would copy every
  // byte once more.
  platform::File file = platform::File::openRead(fileName);
  if (!file.isOpen()) {
    failure_ = "cannot read the file";
    return false;
  }
  uint8_t headerBytes[kHeaderBytes];
  PictureHeader header;
  if (file.read(headerBytes, kHeaderBytes) != kHeaderBytes) {
    failure_ = kShorterThanHeader;
    return false;
  }
  if (!readHeader(headerBytes, header, failure_)) return false;
  const int64_t fileBytes = file.size();
  if (fileBytes < 0 || header.pixelBytes > uint64_t(fileBytes) - kHeaderBytes) {
    failure_ = shortOfPixels(header.pixelBytes,
                             uint64_t(std::max<int64_t>(fileBytes, kHeaderBytes)) - kHeaderBytes);
    return false;
  }
  std::vector<uint8_t> buffer(size_t(header.pixelBytes));
  if (file.read(buffer.data(), buffer.size()) != buffer.size()) {
    failure_ = "cannot read the pixel data";
    return false;
  }
  failure_.clear();

  width = header.width;
  height = header.height;
  bitsPerPixel = header.depth;
  imageType = header.type;
  pixels = std::move(buffer);
  loaded = true;
  return true;
}

bool ImageFile::parse(const uint8_t* data, size_t size) {
  PictureHeader header;
  if (!data || size < kHeaderBytes) {
    failure_ = kShorterThanHeader;
    return false;
  }
  if (!readHeader(data, header, failure_)) return false;
  if (header.pixelBytes > size - kHeaderBytes) {
    failure_ = shortOfPixels(header.pixelBytes, size - kHeaderBytes);
    return false;
  }
  failure_.clear();

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
