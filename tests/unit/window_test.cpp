// Opening and closing the window against a fake platform: the order of the steps, every failure
// message, and whether the release ran before the message.
#include "app/window.h"

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/frame_timer.h"
#include "fx/program_objects.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.enter();  // the release removes loose files from the working directory
    windowHandle = 0;
    deviceContext = 0;
    renderContext = 0;
  }
  TempDir dir;
  FakePlatform os;
};

struct FailureRow {
  const char* step;
  std::vector<std::string> boxes;
  bool releasedFirst;
};

void PrintTo(const FailureRow& row, std::ostream* out) {
  *out << row.step;
}

class OpenWindowFailure : public WindowTest, public ::testing::WithParamInterface<FailureRow> {};

// Time zero is the start of playback: the frame timer reads its counter after the pause and after
// the stream starts, never before.
struct CounterReadLog : platform::Counter {
  explicit CounterReadLog(FakePlatform& platform) : os(platform) {}
  int64_t frequency() override { return 1000; }
  int64_t now() override {
    os.calls.push_back("timer start");
    return 0;
  }
  FakePlatform& os;
};

}  // namespace

TEST_F(WindowTest, OpensInTheFixedOrderAndFinishesStartUp) {
  CounterReadLog counter(os);
  frameTimer.useCounter(&counter);
  const int opened = openWindow("Karvenel / Olmetra / Quillory 2oo4", 800, 600, 32);
  frameTimer.useCounter(&platform::systemCounter());
  ASSERT_EQ(opened, 1);
  const std::vector<std::string> expected = {
      "registerWindowClass OpenGL",
      "changeDisplayMode 800x600x32@85",
      "showCursor 0",
      "createWindow OpenGL Karvenel / Olmetra / Quillory 2oo4 800x600",
      "getDeviceContext",
      "choosePixelFormat 32/16",
      "setPixelFormat 3",
      "createRenderContext",
      "makeCurrent",
      "showWindow",
      "setForegroundWindow",
      "setFocus",
      "audioInit 44100",
      "audioStart",
      "streamCreateFile muza_final.mp3",
      "sleepMs 1000",
      "streamPlay 5 restart",
      "timer start",
  };
  EXPECT_EQ(os.calls, expected);
  EXPECT_TRUE(os.boxes.empty());
  EXPECT_EQ(windowHandle, WindowHandle(7));
  EXPECT_EQ(musicStream, StreamHandle(5));
}

TEST_F(WindowTest, AudioFailureDoesNotStopStartUp) {
  os.failing = {"audioInit"};
  EXPECT_EQ(openWindow("t", 800, 600, 32), 1);
  EXPECT_EQ(musicStream, StreamHandle(0));
  EXPECT_TRUE(os.boxes.empty());
}

TEST_P(OpenWindowFailure, ShowsItsMessageAndReleasesFirstWhereTheDesignSaysSo) {
  const FailureRow& row = GetParam();
  os.failing = {row.step};
  writeFile(dir.file("back01.tga"), {1, 2, 3});  // a loose file from the pack
  EXPECT_EQ(openWindow("t", 800, 600, 32), 0);

  std::vector<std::string> expectedBoxes;
  for (const std::string& b : row.boxes) expectedBoxes.push_back("ERROR: " + b);
  EXPECT_EQ(os.boxes, expectedBoxes);
  const int release = os.indexOf("restoreDisplayMode");
  const int box = os.indexOf("messageBox");
  if (row.releasedFirst) {
    ASSERT_GE(release, 0);
    EXPECT_LT(release, box);
  } else {
    EXPECT_EQ(release, -1) << "closeWindow must not run";
  }
  // Either way the loose files are gone: nothing relies on finding them after a failed start.
  EXPECT_TRUE(dir.list().empty());
  EXPECT_EQ(os.indexOf("showWindow"), -1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OpenWindowFailure,
    ::testing::Values(
        FailureRow{"registerWindowClass", {"Falied To Register Window Class"}, false},
        FailureRow{
            "changeDisplayMode", {"Unable To Run In Fullscreen!", "Program Will Now Quit"}, false},
        FailureRow{"createWindow", {"Window Creation Error."}, true},
        FailureRow{"getDeviceContext", {"Can`t Create A GL Device Context"}, true},
        FailureRow{"choosePixelFormat", {"Can`t Find A Suitable PixelFormat"}, true},
        FailureRow{"setPixelFormat", {"Can`t Set The PixelFormat"}, true},
        FailureRow{"createRenderContext", {"Can`t Create A GL Rendering Context"}, true},
        FailureRow{"makeCurrent", {"Can`t Activate The GL Rendering Context"}, true}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.step); });

TEST_F(WindowTest, CloseAfterAFailedWindowCreationStillUnregistersTheClass) {
  os.failing = {"createWindow"};
  openWindow("t", 800, 600, 32);
  const int from = os.indexOf("restoreDisplayMode");
  std::vector<std::string> tail(os.calls.begin() + from, os.calls.end());
  const std::vector<std::string> expected = {"restoreDisplayMode", "showCursor 1",
                                             "unregisterWindowClass OpenGL",
                                             "messageBox ERROR: Window Creation Error."};
  EXPECT_EQ(tail, expected);
}

TEST_F(WindowTest, CloseReleasesInOrderAndReportsEachFailureWithItsCaption) {
  ASSERT_EQ(openWindow("t", 800, 600, 32), 1);
  os.calls.clear();
  os.failing = {"releaseCurrent", "deleteRenderContext", "releaseDeviceContext", "destroyWindow",
                "unregisterWindowClass"};
  closeWindow();
  const std::vector<std::string> expected = {
      "restoreDisplayMode",
      "showCursor 1",
      "releaseCurrent",
      "messageBox SHUTDOWN ERROR: Release Of DC And RC Falied.",
      "deleteRenderContext",
      "messageBox SHUTDOWN ERROR: Release Rendering Context Falied.",
      "releaseDeviceContext 8",
      "messageBox SHUTDOWN EROR: Release Device Contxt Falied",
      "destroyWindow 7",
      "messageBox SHUTDOWN ERROR: Could Not Release hWnd",
      "unregisterWindowClass OpenGL",
      "messageBox SHUTDOWN ERROR: Could Not Unregister Class",
  };
  EXPECT_EQ(os.calls, expected);
  EXPECT_EQ(renderContext, RenderContext(0));
}

TEST_F(WindowTest, CloseRemovesTheLooseFilesFirstAndLeavesOthers) {
  ASSERT_EQ(openWindow("t", 800, 600, 32), 1);
  writeFile(dir.file("c00.3ds"), {1});  // removal list says "c00.3DS"
  writeFile(dir.file("skora.tga"), {1});
  writeFile(dir.file("notes.txt"), {1});
  back01Texture.width = 800;  // as if loaded
  closeWindow();
  EXPECT_EQ(dir.list(), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(back01Texture.width, 0u) << "the background slot is released with the files";
}

// Message handling.

TEST_F(WindowTest, EveryKeyCodeSetsAndClearsExactlyItsEntry) {
  for (uint32_t key = 0; key < 256; ++key) {
    handleWindowMessage(7, Message{WM_KEYDOWN, key, 0});
    for (uint32_t k = 0; k < 256; ++k) ASSERT_EQ(keyDown[k], k == key ? 1 : 0) << key;
    handleWindowMessage(7, Message{WM_KEYUP, key, 0});
    ASSERT_EQ(keyDown[key], 0);
  }
  // A code beyond the table is ignored, not written past it.
  EXPECT_EQ(handleWindowMessage(7, Message{WM_KEYDOWN, 300, 0}), 0);
}

TEST_F(WindowTest, MinimisingClearsActiveAndRestoringSetsIt) {
  windowActive = 1;
  handleWindowMessage(7, Message{WM_ACTIVATE, WA_INACTIVE | (1u << 16), 0});
  EXPECT_EQ(windowActive, 0);
  handleWindowMessage(7, Message{WM_ACTIVATE, WA_ACTIVE, 0});
  EXPECT_EQ(windowActive, 1);
  // Losing activation without being minimised still counts as active.
  handleWindowMessage(7, Message{WM_ACTIVATE, WA_INACTIVE, 0});
  EXPECT_EQ(windowActive, 1);
}

TEST_F(WindowTest, ScreenSaverAndMonitorPowerAreSwallowedAndCloseReachesTheQuit) {
  EXPECT_EQ(handleWindowMessage(7, Message{WM_SYSCOMMAND, SC_SCREENSAVE, 0}), 0);
  EXPECT_EQ(handleWindowMessage(7, Message{WM_SYSCOMMAND, SC_MONITORPOWER, 0}), 0);
  EXPECT_EQ(os.indexOf("defaultWindowProc"), -1);

  handleWindowMessage(7, Message{WM_SYSCOMMAND, SC_CLOSE, 0});
  EXPECT_EQ(os.indexOf("defaultWindowProc 274 61536"), 0);
  Message m;
  ASSERT_TRUE(os.peekMessage(m));
  EXPECT_EQ(m.message, WM_CLOSE);
  handleWindowMessage(7, m);
  ASSERT_TRUE(os.peekMessage(m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 0u);
}

TEST_F(WindowTest, MouseMovesAreDroppedAndOtherMessagesGoToTheDefault) {
  EXPECT_EQ(handleWindowMessage(7, Message{WM_MOUSEMOVE, 0, 0x00100020}), 0);
  EXPECT_EQ(os.indexOf("defaultWindowProc"), -1);
  handleWindowMessage(7, Message{0x0400, 1, 2});
  EXPECT_EQ(os.indexOf("defaultWindowProc 1024 1"), 0);
}
