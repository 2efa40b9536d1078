// The projection set on size changes and the fixed state that start-up sets, read back from GL.
#include <gtest/gtest.h>

#include <cmath>

#include "app/entry.h"
#include "app/window.h"
#include "gfx/gl.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"

namespace {

// GL keeps its matrices in single precision.
double projectionAt(int index) {
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  return m[index];
}

const double kFocal = 1.0 / std::tan(22.5 * M_PI / 180.0);  // 45 degrees vertical

}  // namespace

TEST(RenderState, ASizeWithHeightZeroTakesHeightOne) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok());
  handleWindowMessage(1, platform::Message{platform::WM_SIZE, 0, 800 | (0 << 16)});
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 1);
  // The aspect ratio is then width / 1.
  EXPECT_NEAR(projectionAt(0), kFocal / 800.0, 1e-6);
  EXPECT_NEAR(projectionAt(5), kFocal, 1e-6);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST(RenderState, ResizeViewSetsTheStartUpPerspective) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok());
  resizeView(800, 600);
  EXPECT_NEAR(projectionAt(0), kFocal / (800.0 / 600.0), 1e-6);
  // Near plane 0.01 as a float, far plane 10: m[10] = (f + n) / (n - f).
  const double n = double(0.01f), f = 10.0;
  EXPECT_NEAR(projectionAt(10), (f + n) / (n - f), 1e-6);
  EXPECT_NEAR(projectionAt(14), 2 * f * n / (n - f), 1e-6);
}

TEST(RenderState, SetupRenderStateSetsTheFixedState) {
  TempDir dir;
  dir.enter();  // no assets here: the catalogue skips what it cannot read
  GlTestContext gl;
  ASSERT_TRUE(gl.ok());
  resizeView(800, 600);
  EXPECT_EQ(setupRenderState(), 1);
  GLint v = 0;
  glGetIntegerv(GL_SHADE_MODEL, &v);
  EXPECT_EQ(v, GL_SMOOTH);
  glGetIntegerv(GL_DEPTH_FUNC, &v);
  EXPECT_EQ(v, GL_LEQUAL);
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &v);
  EXPECT_EQ(v, GL_NICEST);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLfloat clear[4] = {1, 1, 1, 1};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
  GLdouble depth = 0;
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
  EXPECT_EQ(depth, 1.0);
  // Without an audio file the stream is 0 and the presentation runs silently.
  EXPECT_EQ(musicStream, platform::StreamHandle(0));
}
