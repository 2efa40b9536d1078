// The particle fans, the flat head and the flash quad drawn headless and read back as pixels; the
// flash also has to leave the GL state the next frame starts from.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "fx/flash.h"
#include "fx/particles.h"
#include "gfx/gl.h"
#include "gfx/head_mesh.h"
#include "gfx/picture_area.h"
#include "support/gl_context.h"

namespace {

// The picture area with the presentation's perspective, the camera 5 units back.
void lookFromFiveUnits() {
  setPictureAreaPerspective();
  glTranslatef(0.0f, 0.0f, -5.0f);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Pixels per model unit at distance 5: 250 pixels for tan(22.5 degrees) * 5 units upwards, and
// a third more sideways, because the 4:3 projection is stretched onto the 8:5 picture area.
const double kPixelsPerUnitUp = 250.0 / (std::tan(22.5 * M_PI / 180.0) * 5.0);
const double kPixelsPerUnitAcross = kPixelsPerUnitUp * (800.0 / 500.0) / (4.0 / 3.0);

int brightness(GlTestContext::Rgb p) {
  return p.r + p.g + p.b;
}

}  // namespace

TEST(MotionDraw, ParticleFanIsBrightAtItsCentreAndDarkAtItsRim) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  lookFromFiveUnits();
  glShadeModel(GL_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);

  ParticleSystem system;
  system.setMaxCount(1);
  system.setSize(1.0f);
  system.setColour(1.0f, 0.0f, 0.0f, 1.0f);
  system.update();
  system.draw();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  // The rim is about 121 pixels up and 145 across.
  const int up = int(kPixelsPerUnitUp), across = int(kPixelsPerUnitAcross);
  const auto centre = gl.pixel(400, 300);
  EXPECT_GE(centre.r, 240);
  EXPECT_EQ(centre.g, 0);
  // Colour and alpha both fade with the distance, so halfway out the sum is a quarter.
  EXPECT_NEAR(gl.pixel(400, 300 + up / 2).r, 64, 12);
  EXPECT_LT(gl.pixel(400, 300 + up - 6).r, 20);
  EXPECT_LT(gl.pixel(400 + across - 6, 300).r, 20);
  EXPECT_EQ(brightness(gl.pixel(400, 300 + up + 10)), 0);  // outside the disc
  EXPECT_EQ(brightness(gl.pixel(400 + across + 10, 300)), 0);
}

TEST(MotionDraw, FlatHeadTriangleIsLitByItsFaceNormal) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  lookFromFiveUnits();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);  // white, from the viewer's direction
  glEnable(GL_NORMALIZE);

  HeadMesh mesh;
  mesh.vertices.resize(3);
  mesh.vertexCount = 3;
  mesh.vertices[0].position.set(-1, -1, 0);
  mesh.vertices[1].position.set(1, -1, 0);
  mesh.vertices[2].position.set(-1, 1, 0);
  mesh.vertices[2].u = 0.25f;
  mesh.vertices[2].v = 0.75f;
  mesh.faces.push_back({0, 1, 2});  // counter-clockwise seen from the camera
  mesh.faces.push_back({2, 1, 7});  // names no vertex of this mesh: skipped
  mesh.faceCount = 2;
  mesh.drawFlat();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  // Diffuse 0.8 plus ambient 0.2 * 0.2 of the default material and light model: about 214.
  const auto lit = gl.pixel(400 - 40, 300 - 40);
  EXPECT_NEAR(lit.r, 214, 4);
  EXPECT_EQ(lit.r, lit.g);
  EXPECT_EQ(lit.g, lit.b);
  EXPECT_EQ(brightness(gl.pixel(400 + 80, 300 + 80)), 0);  // beyond the hypotenuse

  // The normal is sent as computed, not normalised: twice the area along +z (from the first face;
  // the second sends nothing).
  GLfloat normal[3];
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_FLOAT_EQ(normal[2], 4.0f);
  GLfloat texCoord[4];
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
  EXPECT_FLOAT_EQ(texCoord[0], 0.25f);
  EXPECT_FLOAT_EQ(texCoord[1], 0.75f);

  // Wound the other way, the normal points away from the light: only the ambient term is left.
  glClear(GL_COLOR_BUFFER_BIT);
  std::swap(mesh.faces[0].b, mesh.faces[0].c);
  mesh.faceCount = 1;
  mesh.drawFlat();
  EXPECT_LT(gl.pixel(400 - 40, 300 - 40).r, 20);
}

TEST(MotionDraw, FlashWhitensOnlyTheLetterboxAndLeavesTheFrameState) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  glViewport(0, 0, 800, 600);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  // The opposite of what the flash must leave.
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ZERO);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(3, 4, 5);
  glMatrixMode(GL_TEXTURE);

  FlashOverlay flash;
  flash.trigger();
  flash.draw(0.0f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  for (int y : {50, 51, 300, 548, 549}) EXPECT_EQ(brightness(gl.pixel(400, y)), 765) << "row " << y;
  for (int x : {0, 799}) EXPECT_EQ(brightness(gl.pixel(x, 300)), 765) << "column " << x;
  for (int y : {0, 49, 550, 599}) EXPECT_EQ(brightness(gl.pixel(400, y)), 0) << "row " << y;

  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLint value = 0;
  glGetIntegerv(GL_BLEND_SRC, &value);
  EXPECT_EQ(value, GL_SRC_ALPHA);
  glGetIntegerv(GL_BLEND_DST, &value);
  EXPECT_EQ(value, GL_ONE);
  glGetIntegerv(GL_MATRIX_MODE, &value);
  EXPECT_EQ(value, GL_MODELVIEW);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 50);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 500);

  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0 : 0.0) << "modelview " << i;
  // gluPerspective(45, 4:3, 0.01f, 100): f = cot(22.5 degrees).
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0), zNear = double(0.01f), zFar = 100.0;
  EXPECT_NEAR(m[0], f / (4.0 / 3.0), 1e-5);
  EXPECT_NEAR(m[5], f, 1e-5);
  EXPECT_NEAR(m[10], (zFar + zNear) / (zNear - zFar), 1e-5);
  EXPECT_NEAR(m[11], -1.0, 1e-9);
  EXPECT_NEAR(m[14], 2.0 * zFar * zNear / (zNear - zFar), 1e-5);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[3], 1.0f);
}

TEST(MotionDraw, FlashAddsItsOpacityAndAtZeroChangesNothing) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  glViewport(0, 0, 800, 600);
  glClearColor(0.2f, 0.2f, 0.2f, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  const int grey = gl.pixel(400, 300).r;

  FlashOverlay flash;
  flash.draw(0.0f);
  EXPECT_EQ(gl.pixel(400, 300).r, grey);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));

  flash.trigger();
  flash.draw(0.5f);  // additive: grey plus half white
  EXPECT_NEAR(gl.pixel(400, 300).r, grey + 128, 2);
  EXPECT_EQ(gl.pixel(400, 20).r, grey);
}
