// ImageFile::load reads the pixels straight from the file, apart from parse: both must take the
// same pictures the same way, and the red/blue swap must still exchange bytes 0 and 2 of every
// pixel.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/image_file.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

// Distinct bytes in every pixel, then `extraBytes` more after the last one.
std::vector<uint8_t> picture(uint16_t w, uint16_t h, size_t extraBytes) {
  std::vector<uint8_t> bgr(size_t(w) * h * 3 + extraBytes);
  for (size_t i = 0; i < bgr.size(); ++i) bgr[i] = uint8_t((i + 18) * 13 + 5);
  return tgaBytes(w, h, bgr);
}

std::vector<uint8_t> pixelsOf(const ImageFile& img) {
  const uint8_t* p = img.getPixels();
  return p ? std::vector<uint8_t>(p, p + img.getPixelBytes()) : std::vector<uint8_t>();
}

TEST(ImageFileLoad, TakesWhatParseTakesWithTheSamePixels) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"one pixel", picture(1, 1, 0)},
      {"trailing bytes after the pixels", picture(3, 2, 7)},
      {"zero width", picture(0, 5, 0)},
      {"rows of odd byte length", picture(5, 3, 0)},
      {"larger than one read buffer", picture(700, 500, 1)},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile(dir.file("p.tga"), c.bytes);
    ImageFile fromFile, fromBytes;
    ASSERT_TRUE(fromFile.load(dir.file("p.tga").c_str()));
    ASSERT_TRUE(fromBytes.parse(c.bytes.data(), c.bytes.size()));
    EXPECT_EQ(fromFile.getWidth(), fromBytes.getWidth());
    EXPECT_EQ(fromFile.getHeight(), fromBytes.getHeight());
    EXPECT_EQ(fromFile.getBitsPerPixel(), 24);
    EXPECT_EQ(fromFile.getImageType(), 2);
    EXPECT_TRUE(fromFile.hasPixels());
    EXPECT_EQ(pixelsOf(fromFile), pixelsOf(fromBytes));
    EXPECT_EQ(fromFile.getPixelBytes(), size_t(fromFile.getWidth()) * fromFile.getHeight() * 3);
  }
}

TEST(ImageFileLoad, SwapExchangesTheOuterBytesOfEveryPixelOnce) {
  const std::vector<uint8_t> bytes = picture(5, 3, 4);
  ImageFile img;
  ASSERT_TRUE(img.parse(bytes.data(), bytes.size()));
  img.swapRedBlue();
  const std::vector<uint8_t> swapped = pixelsOf(img);
  ASSERT_EQ(swapped.size(), 45u);
  for (size_t p = 0; p < 15; ++p) {
    EXPECT_EQ(swapped[3 * p], bytes[18 + 3 * p + 2]) << "pixel " << p;
    EXPECT_EQ(swapped[3 * p + 1], bytes[18 + 3 * p + 1]) << "pixel " << p;
    EXPECT_EQ(swapped[3 * p + 2], bytes[18 + 3 * p]) << "pixel " << p;
  }
  img.swapRedBlue();
  EXPECT_EQ(pixelsOf(img), std::vector<uint8_t>(bytes.begin() + 18, bytes.end() - 4));
}

}  // namespace
