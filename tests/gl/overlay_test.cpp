// The frame overlay and the projection switches on a real headless context: which pictures the
// overlay draws before and after the strips are switched on, and the state it leaves.
#include <gtest/gtest.h>

#include <cmath>

#include "fx/program_objects.h"
#include "fx/view.h"
#include "gfx/gl.h"
#include "support/gl_context.h"

namespace {

// Puts a one-colour picture of w x h into a slot without going through a file.
void fillSlot(Texture& slot, uint32_t w, uint32_t h, uint8_t r, uint8_t g, uint8_t b, bool mask) {
  std::vector<uint8_t> rgb;
  for (uint32_t i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {r, g, b});
  slot.width = w;
  slot.height = h;
  glGenTextures(1, &slot.textureName);
  glBindTexture(GL_TEXTURE_2D, slot.textureName);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, GLsizei(w), GLsizei(h), 0, GL_RGB, GL_UNSIGNED_BYTE,
               rgb.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  if (mask) slot.buildMask(rgb.data());
}

int windowRow(double oy) {
  return int(std::floor(550.0 - oy * 500.0 / 600.0));
}

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    // Borders in one colour each, so every pixel says which picture covers it.
    fillSlot(leftTexture, 21, 600, 200, 0, 0, true);
    fillSlot(rightTexture, 21, 600, 0, 200, 0, true);
    fillSlot(topTexture, 332, 43, 0, 0, 200, true);
    fillSlot(downTexture, 332, 43, 200, 200, 0, true);
    fillSlot(stripTexture, 10, 30, 40, 40, 40, false);
    stripsEnabled = 0;
    stripOffset = 0;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (Texture* t : {&leftTexture, &rightTexture, &topTexture, &downTexture, &stripTexture})
      t->release();
    stripsEnabled = 0;
    stripOffset = 0;
  }

  // Overlay pixels that are not black.
  long litPixels() {
    const auto frame = gl.frame();
    long lit = 0;
    for (size_t i = 0; i < frame.size(); i += 3)
      lit += (frame[i] | frame[i + 1] | frame[i + 2]) != 0;
    return lit;
  }

  GlTestContext gl;
};

TEST_F(OverlayTest, BeforeTheStripsOnlyTheFourBordersAreDrawn) {
  glColor3f(0.2f, 0.3f, 0.4f);
  drawFrameOverlay(1000);
  EXPECT_EQ(stripOffset, 0) << "the offset advances only while the strips are drawn";
  const auto left = gl.pixel(5, 300), right = gl.pixel(790, 300);
  const auto top = gl.pixel(400, windowRow(20)), down = gl.pixel(400, windowRow(580));
  EXPECT_EQ(left.r, 200) << "modulated by white, whatever colour came before";
  EXPECT_EQ(right.g, 200);
  EXPECT_EQ(top.b, 200);
  EXPECT_EQ(down.r + down.g, 400);
  // The strips' columns (x 20 and 711) stay black between the borders.
  EXPECT_EQ(gl.pixel(25, 300).r + gl.pixel(715, 300).r, 0);
  // Four borders and nothing else: 21 x 500 twice, and 332 x 43 overlay units twice.
  const long top43 = windowRow(0) - windowRow(43);
  EXPECT_NEAR(litPixels(), 2 * 21 * 500 + 2 * 332 * top43, 2 * 332);
  EXPECT_EQ(gl.pixel(400, 49).r + gl.pixel(400, 550).r, 0) << "nothing outside the letterbox";
}

TEST_F(OverlayTest, StripsAreAddedAtTheirOffsetAndTheStateIsLeftAsTheFrameExpects) {
  stripsEnabled = 1;
  stripOffset = 95;
  drawFrameOverlay(uint16_t(29));  // + 29 / 5 = 5: offset 100
  EXPECT_EQ(stripOffset, 100);
  // Strip 1 at (20, 100), strip 4 at (711, 200), strip 5 at (711, 600): off the bottom.
  EXPECT_EQ(gl.pixel(25, windowRow(110)).r, 40);
  EXPECT_EQ(gl.pixel(25, windowRow(95)).r, 0);
  EXPECT_EQ(gl.pixel(715, windowRow(210)).r, 40);
  // Strip 2 at y 700 and strip 3 at y 350.
  EXPECT_EQ(gl.pixel(25, windowRow(360)).r, 40);
  // Strip 6 at y 300.
  EXPECT_EQ(gl.pixel(715, windowRow(310)).r, 40);

  GLint src = 0, dst = 0, viewport[4] = {};
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(viewport[1], 50);
  EXPECT_EQ(viewport[3], 500);
  GLfloat colour[4] = {};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
}

TEST_F(OverlayTest, TheEpilogueCountsOnlyTheLow16BitsOfTheDelta) {
  stripsEnabled = 1;
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  sceneEpilogue(65536u + 50u);
  EXPECT_EQ(stripOffset, 10);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(OverlayTest, PrologueCopiesTheBackgroundOpaqueAndHeadBlockEndsAdding) {
  fillSlot(back01Texture, 800, 600, 0, 0, 120, false);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glColor3f(1, 1, 1);
  scenePrologue();
  const auto p = gl.pixel(400, 300);
  EXPECT_EQ(p.r, 0) << "blending is off for the background";
  EXPECT_EQ(p.b, 120);
  EXPECT_EQ(gl.pixel(400, 20).r, 255) << "the band below the letterbox keeps its colour";
  back01Texture.release();

  headBlock(250);
  GLint src = 0, dst = 0, bound = -1;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE);
  EXPECT_EQ(GLuint(bound), skoraTexture);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(OverlayTest, ProjectionSwitchesSetTheirOwnStateOnly) {
  glEnable(GL_LIGHTING);
  glEnable(GL_BLEND);
  setPerspectiveView();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "the perspective switch changes no enable state";
  double projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6);
  EXPECT_NEAR(projection[0] * 1.3333333333333333, projection[5], 1e-6);

  setOrthoView();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[0], 2.0 / 800.0, 1e-9);
  EXPECT_NEAR(projection[5], -2.0 / 600.0, 1e-9) << "y grows downwards";
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

}  // namespace
