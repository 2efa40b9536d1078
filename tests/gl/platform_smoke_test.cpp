// The real SDL window and GL context, headless: it opens, starts black, draws and swaps.
#include <gtest/gtest.h>

#include "gfx/gl.h"
#include "support/gl_context.h"

TEST(SdlPlatform, OpensALegacyContextThatStartsBlackAndDraws) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  auto black = gl.pixel(400, 300);
  EXPECT_EQ(black.r + black.g + black.b, 0);

  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GE(depthBits, 16);

  // Immediate mode and display lists are there: this is a compatibility context.
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_QUADS);
  glColor3f(1, 0, 0);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glVertex2f(1, 1);
  glVertex2f(-1, 1);
  glEnd();
  glEndList();
  glCallList(list);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  auto red = gl.pixel(400, 300);
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.g, 0);
  gl.os().swapBuffers(1);
}
