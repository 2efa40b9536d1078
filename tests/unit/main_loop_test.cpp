// The main loop's passes against a fake platform: one message per pass, a frame only in a pass that
// finds the queue empty while active, Escape through the key table, the exit code.
#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/window.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.enter();
    // The window class routes dispatched messages to the program's handler, as openWindow does.
    os.registerWindowClass("OpenGL", handleWindowMessage);
    windowActive = 1;
    for (int32_t& k : keyDown) k = 0;
  }
  TempDir dir;
  FakePlatform os;
};

void closeAfterThreeFrames(FakePlatform& os) {
  if (os.swaps == 3) os.push(WM_CLOSE);
}

}  // namespace

TEST_F(MainLoopTest, ACloseRequestEndsTheLoopWithExitCodeZero) {
  os.onSwap = closeAfterThreeFrames;
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(os.swaps, 3);
}

TEST_F(MainLoopTest, PendingMessagesGoFirstOnePerPass) {
  os.push(WM_MOUSEMOVE);
  os.push(WM_KEYDOWN, 'A');
  os.push(WM_KEYUP, 'A');
  os.push(WM_CLOSE);
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(os.swaps, 0) << "no frame while messages are pending";
}

TEST_F(MainLoopTest, AnEscapeTapTakenBeforeAnEmptyPassIsMissed) {
  os.push(WM_KEYDOWN, VK_ESCAPE);
  os.push(WM_KEYUP, VK_ESCAPE);
  os.onSwap = closeAfterThreeFrames;
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(os.swaps, 3);
}

TEST_F(MainLoopTest, EscapeEndsTheLoopAtTheNextEmptyPassWithoutAnotherFrame) {
  os.onSwap = [](FakePlatform& p) {
    if (p.swaps == 2) p.push(WM_KEYDOWN, VK_ESCAPE);
  };
  // The exit code is the parameter of the last message taken: the key code of Escape.
  EXPECT_EQ(runMainLoop(), int(VK_ESCAPE));
  EXPECT_EQ(os.swaps, 2);
}

TEST_F(MainLoopTest, EscapeWhileMinimisedWaitsForTheRestore) {
  os.push(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
  os.push(WM_KEYDOWN, VK_ESCAPE);
  os.onIdle = [](FakePlatform& p) {
    // Many idle passes go by while minimised; then the window comes back.
    if (p.idlePasses == 50) p.push(WM_ACTIVATE, WA_ACTIVE);
  };
  EXPECT_EQ(runMainLoop(), int(WA_ACTIVE));
  EXPECT_EQ(os.swaps, 0);
  EXPECT_GE(os.idlePasses, 51);
}

TEST_F(MainLoopTest, WhileInactiveNoFrameIsDrawn) {
  os.push(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
  os.onIdle = [](FakePlatform& p) {
    if (p.idlePasses == 20) p.push(WM_CLOSE);
  };
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(os.swaps, 0);
}
