// Texture slots on a real headless context: uploads, masks, release, and the screen-space quad read
// back as pixels, with the matrices and state each draw leaves behind.
#include "gfx/texture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gfx/gl.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

using Rgb = GlTestContext::Rgb;

// The window row (GL counts from the bottom) that shows overlay row `oy`: the overlay's 600 units
// map onto the 500 rows of the letterbox whose top lies 50 rows below the window's top.
int windowRow(double oy) {
  return int(std::floor(550.0 - oy * 500.0 / 600.0));
}

void clearTo(float r, float g, float b) {
  glClearColor(r, g, b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::string describe(Rgb c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

::testing::AssertionResult near(Rgb actual, Rgb expected, int tolerance = 2) {
  const bool ok = std::abs(actual.r - expected.r) <= tolerance &&
                  std::abs(actual.g - expected.g) <= tolerance &&
                  std::abs(actual.b - expected.b) <= tolerance;
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel " << describe(actual) << ", expected " << describe(expected);
}

std::vector<uint8_t> readLevel0(GLuint name, uint32_t width, uint32_t height) {
  std::vector<uint8_t> out(size_t(width) * height * 3);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
  return out;
}

class TextureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
  }
  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

  std::string picture(const std::string& name, uint16_t w, uint16_t h,
                      const std::vector<uint8_t>& bgr) {
    writeTga(dir.file(name), w, h, bgr);
    return dir.file(name);
  }

  GlTestContext gl;
  TempDir dir;
};

TEST_F(TextureTest, LoadFillsTheSlotAndOnlyAMaskedLoadMakesAMask) {
  Texture plain;
  EXPECT_EQ(plain.load(picture("a.tga", 8, 4, solidPixels(8, 4, {0, 0, 255})).c_str(), 0), 1);
  EXPECT_NE(plain.textureName, 0u);
  EXPECT_EQ(plain.maskName, 0u);
  EXPECT_EQ(plain.hasMask, 0);
  EXPECT_EQ(plain.width, 8u);
  EXPECT_EQ(plain.height, 4u);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "the upload must restore the unpack alignment";

  // The file is B, G, R; the texture holds R, G, B.
  const auto texels = readLevel0(plain.textureName, 8, 4);
  EXPECT_EQ(texels[0], 255);
  EXPECT_EQ(texels[2], 0);

  Texture masked;
  masked.load(picture("b.tga", 8, 4, solidPixels(8, 4, {0, 0, 0})).c_str(), 1);
  EXPECT_NE(masked.maskName, 0u);
  EXPECT_NE(masked.maskName, masked.textureName);
  EXPECT_EQ(masked.hasMask, 1);
}

TEST_F(TextureTest, AnUnreadablePictureLeavesTheSlotEmpty) {
  Texture missing;
  EXPECT_EQ(missing.load(dir.file("none.tga").c_str(), 1), 1);
  writeFile(dir.file("junk.tga"), {1, 2, 3});
  Texture junk;
  EXPECT_EQ(junk.load(dir.file("junk.tga").c_str(), 1), 1);
  for (const Texture* t : {&missing, &junk}) {
    EXPECT_EQ(t->textureName, 0u);
    EXPECT_EQ(t->maskName, 0u);
    EXPECT_EQ(t->hasMask, 0) << "an empty slot must not draw a mask pass";
    EXPECT_EQ(t->width, 0u);
  }
}

TEST_F(TextureTest, MaskIsWhiteExactlyWherePixelsArePureBlack) {
  // R, G, B pixels: black, (1, 0, 0), (0, 0, 1), white.
  const uint8_t mixed[] = {0, 0, 0, 1, 0, 0, 0, 0, 1, 255, 255, 255};
  Texture t;
  t.width = 4;
  t.height = 1;
  t.buildMask(mixed);
  EXPECT_EQ(t.hasMask, 1);
  const auto mask = readLevel0(t.maskName, 4, 1);
  const std::vector<uint8_t> expected = {255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(mask, expected);

  const std::vector<uint8_t> black(5 * 3 * 3, 0);
  Texture allBlack;
  allBlack.width = 5;
  allBlack.height = 3;
  allBlack.buildMask(black.data());
  EXPECT_EQ(readLevel0(allBlack.maskName, 5, 3), std::vector<uint8_t>(45, 255));

  const std::vector<uint8_t> grey(5 * 3 * 3, 9);
  Texture noBlack;
  noBlack.width = 5;
  noBlack.height = 3;
  noBlack.buildMask(grey.data());
  EXPECT_EQ(readLevel0(noBlack.maskName, 5, 3), std::vector<uint8_t>(45, 0));
}

TEST_F(TextureTest, ReleaseDeletesBothNamesAndResetsEveryField) {
  Texture fresh;
  fresh.release();
  fresh.release();
  EXPECT_EQ(fresh.textureName, 0u);
  EXPECT_EQ(fresh.hasMask, 0);

  Texture t;
  t.load(picture("m.tga", 4, 4, solidPixels(4, 4, {0, 0, 0})).c_str(), 1);
  const GLuint picture = t.textureName, mask = t.maskName;
  ASSERT_TRUE(glIsTexture(picture));
  ASSERT_TRUE(glIsTexture(mask));
  t.release();
  EXPECT_FALSE(glIsTexture(picture));
  EXPECT_FALSE(glIsTexture(mask));
  EXPECT_EQ(t.textureName, 0u);
  EXPECT_EQ(t.maskName, 0u);
  EXPECT_EQ(t.width, 0u);
  EXPECT_EQ(t.height, 0u);
  EXPECT_EQ(t.hasMask, 0);
  t.release();
}

TEST_F(TextureTest, MaskedPictureKeepsTheFrameUnderItsBlackAndShowsItselfElsewhere) {
  Texture t;
  // Left half black, right half green.
  t.load(picture("m.tga", 64, 64, twoColumnPixels(64, 64, 32, {0, 0, 0}, {0, 200, 0})).c_str(), 1);
  clearTo(1, 0, 0);
  glEnable(GL_TEXTURE_2D);  // as the overlay leaves it for the mask pass
  t.draw(100, 100);
  const int row = windowRow(132);
  EXPECT_TRUE(near(gl.pixel(110, row), {255, 0, 0}));
  EXPECT_TRUE(near(gl.pixel(150, row), {0, 200, 0})) << "not a sum with the red below";
  EXPECT_TRUE(near(gl.pixel(170, row), {255, 0, 0})) << "outside the picture";
}

TEST_F(TextureTest, UnmaskedPictureCoversOrAddsAsTheCallerBlends) {
  // Bottom rows (first in the file) green, top rows blue: the picture must show upright.
  std::vector<uint8_t> bgr = solidPixels(32, 16, {0, 100, 0});
  const auto top = solidPixels(32, 16, {200, 0, 0});
  bgr.insert(bgr.end(), top.begin(), top.end());
  Texture t;
  t.load(picture("u.tga", 32, 32, bgr).c_str(), 0);

  clearTo(1, 0, 0);
  glDisable(GL_BLEND);
  t.draw(200, 300);
  EXPECT_TRUE(near(gl.pixel(216, windowRow(304)), {0, 0, 200})) << "top of the picture";
  EXPECT_TRUE(near(gl.pixel(216, windowRow(328)), {0, 100, 0})) << "bottom of the picture";
  GLboolean blend = GL_TRUE;
  glGetBooleanv(GL_BLEND, &blend);
  EXPECT_FALSE(blend) << "an unmasked draw leaves blending alone";

  clearTo(1, 0, 0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  t.draw(200, 300);
  EXPECT_TRUE(near(gl.pixel(216, windowRow(304)), {255, 0, 200}));
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE);
}

TEST_F(TextureTest, FullSizePictureFillsExactlyTheLetterbox) {
  Texture t;
  t.load(picture("full.tga", 800, 600, solidPixels(800, 600, {255, 255, 255})).c_str(), 0);
  clearTo(1, 0, 0);
  t.draw(0, 0);
  for (int x : {0, 400, 799}) {
    EXPECT_TRUE(near(gl.pixel(x, 49), {255, 0, 0})) << "x " << x << ": lower band";
    EXPECT_TRUE(near(gl.pixel(x, 50), {255, 255, 255})) << "x " << x;
    EXPECT_TRUE(near(gl.pixel(x, 549), {255, 255, 255})) << "x " << x;
    EXPECT_TRUE(near(gl.pixel(x, 550), {255, 0, 0})) << "x " << x << ": upper band";
  }
}

TEST_F(TextureTest, NarrowPictureAtTheRightEdgeEndsThereAndUploadsUnskewed) {
  // 21 pixels: rows of 63 bytes, which a 4-byte unpack alignment would shear.
  Texture t;
  t.load(picture("s.tga", 21, 64, twoColumnPixels(21, 64, 10, {0, 0, 255}, {255, 0, 0})).c_str(),
         0);
  clearTo(0, 0, 0);
  t.draw(779, 0);
  for (double oy : {4.0, 32.0, 60.0}) {
    const int row = windowRow(oy);
    EXPECT_TRUE(near(gl.pixel(778, row), {0, 0, 0})) << "left of the picture, row " << oy;
    EXPECT_TRUE(near(gl.pixel(781, row), {255, 0, 0}, 12)) << "row " << oy;
    EXPECT_TRUE(near(gl.pixel(797, row), {0, 0, 255}, 12)) << "row " << oy;
    const Rgb last = gl.pixel(799, row);
    EXPECT_GT(last.r + last.b, 200) << "the last column is covered, row " << oy;
  }
}

TEST_F(TextureTest, NegativePositionsArriveWrappedAndDrawNothingVisible) {
  Texture t;
  t.load(picture("w.tga", 64, 64, solidPixels(64, 64, {255, 255, 255})).c_str(), 0);
  clearTo(0, 0, 0);
  t.draw(uint16_t(-100), 0);
  const auto frame = gl.frame();
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 0), long(frame.size()));
}

TEST_F(TextureTest, EveryDrawLeavesThePerspectiveAndAnIdentityModelview) {
  Texture masked, plain;
  masked.load(picture("m.tga", 4, 4, solidPixels(4, 4, {0, 0, 0})).c_str(), 1);
  plain.load(picture("p.tga", 4, 4, solidPixels(4, 4, {9, 9, 9})).c_str(), 0);

  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  const double n = double(0.01f), far = 100.0;
  double expected[16] = {};
  expected[0] = f / 1.3333333333333333;
  expected[5] = f;
  expected[10] = (far + n) / (n - far);
  expected[11] = -1.0;
  expected[14] = 2.0 * far * n / (n - far);

  for (Texture* t : {&masked, &plain}) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glViewport(0, 0, 10, 10);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    t->draw(5, 7);

    double projection[16], modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(projection[i], expected[i], 1e-6 * std::max(1.0, std::fabs(expected[i])))
          << "projection[" << i << "]";
      EXPECT_EQ(modelview[i], (i % 5 == 0) ? 1.0 : 0.0) << "modelview[" << i << "]";
    }
    GLint mode = 0, viewport[4] = {}, bound = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 50);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 500);
    EXPECT_EQ(GLuint(bound), t->textureName);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(bool(glIsEnabled(GL_BLEND)), t == &masked) << "only a masked draw turns blending on";
  }
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_ONE);
  EXPECT_EQ(dst, GL_ONE);
}

}  // namespace
