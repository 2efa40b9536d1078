// The loading picture reaches the window upright and in its own colours, and a picture of the
// wrong size or a missing one is skipped without touching the window.
#include "app/loading_screen.h"

#include <gtest/gtest.h>

#include "app/window.h"
#include "gfx/gl.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

class LoadingScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    dir.enter();
    savedWindow = windowHandle;
    windowHandle = 1;  // the test context's one window
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override { windowHandle = savedWindow; }

  GlTestContext gl;
  TempDir dir;
  platform::WindowHandle savedWindow = 0;
};

TEST_F(LoadingScreenTest, ShowsTheWholePictureUprightInItsColours) {
  // Bottom half (first in the file) red, top half blue.
  auto bgr = solidPixels(800, 300, {0, 0, 200});
  const auto top = solidPixels(800, 300, {200, 0, 0});
  bgr.insert(bgr.end(), top.begin(), top.end());
  writeTga(dir.file("loading.tga"), 800, 600, bgr);
  showLoadingScreen();
  const auto high = gl.pixel(400, 590), low = gl.pixel(400, 10);
  EXPECT_EQ(high.b, 200);
  EXPECT_EQ(high.r, 0);
  EXPECT_EQ(low.r, 200);
  EXPECT_EQ(low.b, 0);
  EXPECT_EQ(gl.pixel(799, 0).g, 0) << "the whole window, bands included";
}

// Start-up goes on without the picture, saying on stderr why it was not shown.
TEST_F(LoadingScreenTest, SkipsAPictureOfAnotherSizeOrNoneAtAll) {
  ::testing::internal::CaptureStderr();
  showLoadingScreen();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "loading.tga: cannot read the file\n");
  EXPECT_EQ(gl.pixel(400, 300).g, 255);
  writeTga(dir.file("loading.tga"), 640, 480, solidPixels(640, 480, {0, 0, 200}));
  ::testing::internal::CaptureStderr();
  showLoadingScreen();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "loading.tga: is 640x480; the loading screen shows only 800x600 pictures of 24 bits\n");
  EXPECT_EQ(gl.pixel(400, 300).g, 255);
  EXPECT_EQ(gl.pixel(10, 10).g, 255);
}

}  // namespace
