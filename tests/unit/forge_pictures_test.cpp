// The forged pictures read through the program's ImageFile: their sizes, the black letterbox
// bands, the masks' rule (pure black only where see-through), power-of-two textures with rows a
// multiple of 4 bytes, and pictures that are neither flat nor too bright where they must be dark.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gfx/image_file.h"
#include "support/forged_files.h"

namespace {

struct Stats {
  double meanLuma = 0;
  double stddevLuma = 0;
  int maxChannel = 0;
  double blackShare = 0;   // pixels exactly (0, 0, 0)
  double brightShare = 0;  // pixels with a channel above 150
};

// Pixels are B, G, R as the file stores them; rows [firstRow, lastRow) counted from the bottom.
Stats measure(const ImageFile& img, int firstRow = 0, int lastRow = -1) {
  if (lastRow < 0) lastRow = img.getHeight();
  Stats s;
  double sum = 0, sum2 = 0;
  size_t n = 0, black = 0, bright = 0;
  const uint8_t* p = img.getPixels();
  for (int y = firstRow; y < lastRow; ++y) {
    for (int x = 0; x < img.getWidth(); ++x, ++n) {
      const uint8_t* q = p + (size_t(y) * img.getWidth() + size_t(x)) * 3;
      const double luma = 0.114 * q[0] + 0.587 * q[1] + 0.299 * q[2];
      sum += luma;
      sum2 += luma * luma;
      for (int c = 0; c < 3; ++c) s.maxChannel = std::max<int>(s.maxChannel, q[c]);
      if (!q[0] && !q[1] && !q[2]) ++black;
      if (q[0] > 150 || q[1] > 150 || q[2] > 150) ++bright;
    }
  }
  if (!n) return s;
  s.meanLuma = sum / double(n);
  s.stddevLuma = std::sqrt(std::max(0.0, sum2 / double(n) - s.meanLuma * s.meanLuma));
  s.blackShare = double(black) / double(n);
  s.brightShare = double(bright) / double(n);
  return s;
}

bool isPowerOfTwo(int v) {
  return v > 0 && (v & (v - 1)) == 0;
}

class ForgedPictures : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(forgedFiles().ok) << forgedFiles().error; }
  // Loads a picture and checks the file kind every picture must be.
  bool load(ImageFile& img, const std::string& name) {
    if (!img.load(forgedFiles().path(name).c_str())) return false;
    EXPECT_EQ(img.getImageType(), 2) << name;
    EXPECT_EQ(img.getBitsPerPixel(), 24) << name;
    return true;
  }
};

TEST_F(ForgedPictures, HaveTheirSizes) {
  const struct {
    const char* name;
    int w, h;
  } sizes[] = {{"loading.tga", 800, 600}, {"back01.tga", 800, 600}, {"s_end.tga", 800, 600},
               {"s_left.tga", 21, 600},   {"s_right.tga", 21, 600}, {"s_top.tga", 332, 43},
               {"s_down.tga", 332, 43}};
  for (const auto& s : sizes) {
    ImageFile img;
    ASSERT_TRUE(load(img, s.name)) << s.name;
    EXPECT_EQ(img.getWidth(), s.w) << s.name;
    EXPECT_EQ(img.getHeight(), s.h) << s.name;
  }
  ImageFile strip;
  ASSERT_TRUE(load(strip, "s_l.tga"));
  EXPECT_LE(strip.getWidth(), 69);
}

TEST_F(ForgedPictures, TitlePicturesKeepBlackBandsAndCarryText) {
  for (const char* name : {"loading.tga", "s_end.tga"}) {
    ImageFile img;
    ASSERT_TRUE(load(img, name));
    EXPECT_EQ(measure(img, 0, 50).maxChannel, 0) << name << ": bottom band";
    EXPECT_EQ(measure(img, 550, 600).maxChannel, 0) << name << ": top band";
    const Stats middle = measure(img, 50, 550);
    EXPECT_GT(middle.brightShare, 0.005) << name << ": no light text";
    EXPECT_LT(middle.meanLuma, 60) << name << ": the ground should stay dark";
  }
}

TEST_F(ForgedPictures, MaskedPicturesUsePureBlackOnlyForHoles) {
  for (const char* name : {"s_left.tga", "s_right.tga", "s_top.tga", "s_down.tga", "s_end.tga"}) {
    ImageFile img;
    ASSERT_TRUE(load(img, name));
    const uint8_t* p = img.getPixels();
    size_t nearBlack = 0;
    for (size_t i = 0; i < img.getPixelBytes(); i += 3) {
      const bool hole = !p[i] && !p[i + 1] && !p[i + 2];
      if (!hole && (!p[i] || !p[i + 1] || !p[i + 2])) ++nearBlack;
    }
    EXPECT_EQ(nearBlack, 0u) << name << ": visible pixels with a zero channel";
  }
  for (const char* name : {"s_left.tga", "s_right.tga", "s_top.tga", "s_down.tga"}) {
    ImageFile img;
    ASSERT_TRUE(load(img, name));
    const Stats s = measure(img);
    EXPECT_GT(s.blackShare, 0.02) << name << ": the frame has see-through notches";
    EXPECT_LT(s.blackShare, 0.5) << name << ": the frame is mostly metal";
    EXPECT_GT(s.stddevLuma, 10) << name << ": metal with structure";
  }
}

TEST_F(ForgedPictures, TexturesArePowerOfTwoMidTonedAndDetailed) {
  for (const char* name : {"skora.tga", "czacha.tga", "mozg.tga", "s_p.tga"}) {
    ImageFile img;
    ASSERT_TRUE(load(img, name));
    EXPECT_TRUE(isPowerOfTwo(img.getWidth())) << name;
    EXPECT_TRUE(isPowerOfTwo(img.getHeight())) << name;
    EXPECT_EQ(img.getWidth() * 3 % 4, 0) << name << ": rows must be 4-byte aligned";
    const Stats s = measure(img);
    EXPECT_GT(s.meanLuma, 60) << name;
    EXPECT_LT(s.meanLuma, 190) << name;
    EXPECT_GT(s.stddevLuma, 12) << name << ": too flat";
  }
}

TEST_F(ForgedPictures, BackgroundIsDarkWithFaintStructureAndStripIsLightOnBlack) {
  ImageFile back;
  ASSERT_TRUE(load(back, "back01.tga"));
  const Stats b = measure(back);
  EXPECT_LT(b.meanLuma, 40);
  EXPECT_LT(b.maxChannel, 130);
  EXPECT_GT(b.stddevLuma, 2) << "no structure at all";
  ImageFile strip;
  ASSERT_TRUE(load(strip, "s_l.tga"));
  const Stats s = measure(strip);
  EXPECT_GT(s.brightShare, 0.05);
  EXPECT_GT(s.blackShare, 0.5);
}

}  // namespace
