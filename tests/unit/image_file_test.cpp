// The TGA reader: what it accepts, the red/blue swap, and that every refused file leaves the
// reader exactly as it was.
#include "gfx/image_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

const std::vector<uint8_t> kTwoByOne = {10, 20, 30, 40, 50, 60};

std::vector<uint8_t> pixelsOf(const ImageFile& img) {
  const uint8_t* p = img.getPixels();
  return p ? std::vector<uint8_t>(p, p + img.getPixelBytes()) : std::vector<uint8_t>();
}

}  // namespace

TEST(ImageFile, LoadsTwoByOneAndSwapsRedBlue) {
  TempDir dir;
  writeFile(dir.file("a.tga"), tgaBytes(2, 1, kTwoByOne));
  ImageFile img;
  ASSERT_TRUE(img.load(dir.file("a.tga").c_str()));
  EXPECT_EQ(img.getWidth(), 2);
  EXPECT_EQ(img.getHeight(), 1);
  EXPECT_EQ(img.getBitsPerPixel(), 24);
  EXPECT_EQ(img.getImageType(), 2);
  EXPECT_EQ(pixelsOf(img), kTwoByOne);
  img.swapRedBlue();
  EXPECT_EQ(pixelsOf(img), (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
}

TEST(ImageFile, FindsNameOfOtherLetterCase) {
  TempDir dir;
  writeFile(dir.file("pic.tga"), tgaBytes(2, 1, kTwoByOne));
  ImageFile img;
  EXPECT_TRUE(img.load(dir.file("PIC.TGA").c_str()));
}

TEST(ImageFile, RowsStayInFileOrderWhateverTheDescriptor) {
  std::vector<uint8_t> bytes = tgaBytes(1, 2, {1, 2, 3, 4, 5, 6});
  bytes[17] = 0x20;  // top row first
  ImageFile img;
  ASSERT_TRUE(img.parse(bytes.data(), bytes.size()));
  EXPECT_EQ(pixelsOf(img), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(ImageFile, TrailingBytesAreIgnored) {
  std::vector<uint8_t> bytes = tgaBytes(2, 1, kTwoByOne);
  bytes.push_back(99);
  ImageFile img;
  ASSERT_TRUE(img.parse(bytes.data(), bytes.size()));
  EXPECT_EQ(img.getPixelBytes(), 6u);
}

TEST(ImageFile, ZeroWidthLoadsEmptyBuffer) {
  const std::vector<uint8_t> bytes = tgaBytes(0, 7, {});
  ImageFile img;
  ASSERT_TRUE(img.parse(bytes.data(), bytes.size()));
  EXPECT_TRUE(img.hasPixels());
  EXPECT_EQ(img.getPixels(), nullptr);
  EXPECT_EQ(img.getHeight(), 7);
  img.swapRedBlue();
  EXPECT_EQ(img.getPixels(), nullptr);
}

TEST(ImageFile, MissingFileOnFreshReader) {
  TempDir dir;
  ImageFile img;
  EXPECT_FALSE(img.load(dir.file("none.tga").c_str()));
  EXPECT_EQ(img.failure(), "cannot read the file");
  EXPECT_FALSE(img.hasPixels());
  EXPECT_EQ(img.getPixels(), nullptr);
  img.swapRedBlue();
  EXPECT_EQ(img.getPixels(), nullptr);
}

TEST(ImageFile, ReleaseTwiceIsHarmless) {
  const std::vector<uint8_t> bytes = tgaBytes(2, 1, kTwoByOne);
  ImageFile img;
  ASSERT_TRUE(img.parse(bytes.data(), bytes.size()));
  img.release();
  img.release();
  EXPECT_FALSE(img.hasPixels());
  EXPECT_EQ(img.getPixels(), nullptr);
}

TEST(ImageFile, SecondLoadReplacesBuffer) {
  const std::vector<uint8_t> first = tgaBytes(2, 1, kTwoByOne);
  const std::vector<uint8_t> second = tgaBytes(1, 1, {7, 8, 9});
  ImageFile img;
  ASSERT_TRUE(img.parse(first.data(), first.size()));
  ASSERT_TRUE(img.parse(second.data(), second.size()));
  EXPECT_EQ(img.getWidth(), 1);
  EXPECT_EQ(pixelsOf(img), (std::vector<uint8_t>{7, 8, 9}));
}

// Each refused file is offered to a reader that already holds the 2x1 picture: after the refusal
// it must still hold exactly that, header fields included.
TEST(ImageFile, RefusedFilesChangeNothing) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* reason;  // what failure() says, from the file and from the bytes alike
  };
  std::vector<Case> cases;
  cases.push_back(
      {"run-length encoded (type 10)", tgaBytes(2, 1, kTwoByOne, 24, 10), "image type 10"});
  cases.push_back({"colour-mapped (type 1)", tgaBytes(2, 1, kTwoByOne, 24, 1), "image type 1;"});
  cases.push_back({"depth 16", tgaBytes(3, 1, kTwoByOne, 16), "depth 16 bits"});
  cases.push_back({"depth 32", tgaBytes(1, 1, {1, 2, 3, 4}, 32), "depth 32 bits"});
  std::vector<uint8_t> withId = tgaBytes(1, 1, {1, 2, 3, 4, 5, 6, 7, 8});
  withId[0] = 5;
  cases.push_back({"image ID of length 5", withId, "image ID (length 5)"});
  std::vector<uint8_t> withMap = tgaBytes(1, 1, {1, 2, 3});
  withMap[1] = 1;
  cases.push_back({"colour map", withMap, "colour map"});
  std::vector<uint8_t> shortPixels = tgaBytes(2, 1, kTwoByOne);
  shortPixels.pop_back();
  cases.push_back({"one pixel byte short", shortPixels, "needs 6 bytes, the file has 5"});
  cases.push_back(
      {"header only, pixels expected", tgaBytes(4, 4, {}), "needs 48 bytes, the file has 0"});
  std::vector<uint8_t> shortHeader = tgaBytes(0, 0, {});
  shortHeader.resize(17);
  cases.push_back({"header cut at 17 bytes", shortHeader, "18-byte TGA header"});
  cases.push_back({"empty file", {}, "18-byte TGA header"});
  cases.push_back({"too large to size", tgaBytes(65535, 65535, {}), "would take"});

  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> good = tgaBytes(2, 1, kTwoByOne);
    ImageFile img;
    ASSERT_TRUE(img.parse(good.data(), good.size()));
    writeFile(dir.file("bad.tga"), c.bytes);
    EXPECT_FALSE(img.load(dir.file("bad.tga").c_str()));
    EXPECT_NE(img.failure().find(c.reason), std::string::npos) << img.failure();
    EXPECT_TRUE(img.parse(good.data(), good.size()));
    EXPECT_EQ(img.failure(), "");
    EXPECT_FALSE(img.parse(c.bytes.data(), c.bytes.size()));
    EXPECT_NE(img.failure().find(c.reason), std::string::npos) << img.failure();
    EXPECT_EQ(img.getWidth(), 2);
    EXPECT_EQ(img.getHeight(), 1);
    EXPECT_EQ(img.getBitsPerPixel(), 24);
    EXPECT_EQ(img.getImageType(), 2);
    EXPECT_EQ(pixelsOf(img), kTwoByOne);
    // The file was closed again: it can be replaced and read at once.
    writeFile(dir.file("bad.tga"), good);
    EXPECT_TRUE(img.load(dir.file("bad.tga").c_str()));
  }
}
