// Reader of one uncompressed 24-bit true-colour TGA picture into an owned buffer. The pixels stay
// as the file stores them: blue, green, red, rows in file order (bottom row first for our
// pictures).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ImageFile {
 public:
  ImageFile() = default;
  ~ImageFile() { release(); }
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  // Reads the file. False, with the reader unchanged, when it cannot be opened or is not a picture
  // this reader takes (see parse); the reason then goes to stderr with the file's name.
  bool load(const char* fileName);
  // The same from bytes in memory. Accepts image type 2, depth 24, no image ID, no colour map, and
  // exactly enough bytes for the pixels (more is fine); anything else returns false and changes
  // nothing.
  bool parse(const uint8_t* data, size_t size);
  void release();
  // B, G, R becomes R, G, B in place; nothing when empty.
  void swapRedBlue();

  uint16_t getWidth() const { return width; }
  uint16_t getHeight() const { return height; }
  uint8_t getBitsPerPixel() const { return bitsPerPixel; }
  uint8_t getImageType() const { return imageType; }
  // Null when empty. Valid until the next release, load or destruction.
  const uint8_t* getPixels() const { return pixels.empty() ? nullptr : pixels.data(); }
  uint8_t* getPixels() { return pixels.empty() ? nullptr : pixels.data(); }
  size_t getPixelBytes() const { return pixels.size(); }
  bool hasPixels() const { return loaded; }
  // Why the last load or parse refused its input; empty after one that succeeded.
  const std::string& failure() const { return failure_; }

 private:
  bool readFile(const char* fileName);  // load without the report

  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t bitsPerPixel = 0;
  uint8_t imageType = 0;
  std::vector<uint8_t> pixels;
  bool loaded = false;  // a zero-sized picture loads with an empty buffer
  std::string failure_;
};
