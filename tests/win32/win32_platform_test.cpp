// The Win32 platform on the real API (under Wine in the suite): the window class and window as
// the program asks for them, the system's messages reaching the program's message handler with
// their own parameters, the loading picture through GDI, the shutdown releases, and the files that
// replace a name instead of writing through it.
#include "platform/win32/win32_platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/window.h"
#include "platform/files.h"
#include "platform/win32/windows_api.h"
#include "support/temp_dir.h"

namespace {

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    os = platform::createWin32Platform();
    platform::setCurrent(os.get());
    ASSERT_TRUE(os->registerWindowClass("OpenGL", handleWindowMessage));
    ASSERT_TRUE(os->changeDisplayMode(platform::DisplayModeRequest{800, 600, 32, 85}));
    window = os->createWindow("OpenGL", "Karvenel / Olmetra / Quillory 2oo4", 800, 600);
    ASSERT_NE(window, 0u);
    hwnd = reinterpret_cast<HWND>(window);
  }

  void TearDown() override {
    if (rc) {
      os->makeCurrent(0, 0);
      os->deleteRenderContext(rc);
    }
    if (dc) os->releaseDeviceContext(window, dc);
    if (window) os->destroyWindow(window);
    os->unregisterWindowClass("OpenGL");
    os->restoreDisplayMode();
    platform::setCurrent(nullptr);
  }

  void openContext() {
    dc = os->getDeviceContext(window);
    ASSERT_NE(dc, 0u);
    platform::PixelFormatRequest request;
    const int format = os->choosePixelFormat(dc, request);
    ASSERT_GT(format, 0);
    ASSERT_TRUE(os->setPixelFormat(dc, format, request));
    rc = os->createRenderContext(dc);
    ASSERT_NE(rc, 0u);
    ASSERT_TRUE(os->makeCurrent(dc, rc));
  }

  // Takes and dispatches every queued message; returns the identifiers taken, in order.
  std::vector<uint32_t> pump() {
    std::vector<uint32_t> taken;
    platform::Message message;
    while (os->peekMessage(message)) {
      taken.push_back(message.message);
      if (message.message == WM_QUIT) {
        lastQuitCode = message.wParam;
        continue;
      }
      os->dispatchMessage(message);
    }
    return taken;
  }

  std::unique_ptr<platform::Platform> os;
  platform::WindowHandle window = 0;
  HWND hwnd = nullptr;
  platform::DeviceContext dc = 0;
  platform::RenderContext rc = 0;
  uint32_t lastQuitCode = 12345;
};

TEST_F(Win32Window, ClassAndWindowAreMadeAsTheProgramAsksForThem) {
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &wc));
  EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
  EXPECT_EQ(wc.style, 35u);
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));

  char title[64] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  EXPECT_STREQ(title, "Karvenel / Olmetra / Quillory 2oo4");
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_CLIPSIBLINGS);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(IsWindowVisible(hwnd)) << "the window is created invisible";
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);
}

TEST_F(Win32Window, PixelFormatIsDoubleBufferedRgbaWithADepthBuffer) {
  openContext();
  PIXELFORMATDESCRIPTOR pfd{};
  HDC hdc = reinterpret_cast<HDC>(dc);
  ASSERT_GT(DescribePixelFormat(hdc, GetPixelFormat(hdc), sizeof pfd, &pfd), 0);
  EXPECT_TRUE(pfd.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_TRUE(pfd.dwFlags & PFD_SUPPORT_OPENGL);
  EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
  EXPECT_GE(pfd.cDepthBits, 16);
  EXPECT_TRUE(platform::glContextCurrent());
  os->makeCurrent(0, 0);
  EXPECT_FALSE(platform::glContextCurrent());
}

TEST_F(Win32Window, SystemMessagesReachTheHandlerWithTheirOwnParameters) {
  os->showWindow(window);
  pump();
  std::fill(std::begin(keyDown), std::end(keyDown), 0);

  PostMessageA(hwnd, WM_KEYDOWN, 'Q', 0);
  PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
  pump();
  EXPECT_EQ(keyDown['Q'], 1);
  EXPECT_EQ(keyDown[VK_ESCAPE], 1);
  PostMessageA(hwnd, WM_KEYUP, VK_ESCAPE, 0);
  pump();
  EXPECT_EQ(keyDown[VK_ESCAPE], 0);

  // Minimised: the high word of WM_ACTIVATE's wParam; restored clears it again.
  SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
  EXPECT_EQ(windowActive, 0);
  SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
  EXPECT_EQ(windowActive, 1);

  EXPECT_EQ(SendMessageA(hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(SendMessageA(hwnd, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);

  // A close system command goes to the system's default handling, which sends WM_CLOSE, which
  // posts the quit message with code 0.
  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  const std::vector<uint32_t> taken = pump();
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(taken.back(), uint32_t(WM_QUIT));
  EXPECT_EQ(lastQuitCode, 0u);
  EXPECT_TRUE(IsWindow(hwnd)) << "a close request does not destroy the window";
}

TEST_F(Win32Window, TheLoadingPictureIsShownUprightInItsOwnColours) {
  openContext();
  os->showWindow(window);
  pump();
  // Bottom-up blue-green-red rows: the file's first row is the bottom of the picture.
  std::vector<uint8_t> pixels(800 * 600 * 3);
  for (int row = 0; row < 600; ++row) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = &pixels[(size_t(row) * 800 + x) * 3];
      p[0] = row < 300 ? 200 : 10;  // blue in the lower half
      p[1] = x < 400 ? 20 : 120;    // green on the right
      p[2] = row < 300 ? 30 : 220;  // red in the upper half
    }
  }
  os->showPicture(window, pixels.data(), 800, 600);
  HDC screen = GetDC(hwnd);
  const COLORREF topLeft = GetPixel(screen, 10, 10);
  const COLORREF bottomRight = GetPixel(screen, 790, 590);
  ReleaseDC(hwnd, screen);
  EXPECT_EQ(topLeft, RGB(220, 20, 10));
  EXPECT_EQ(bottomRight, RGB(30, 120, 200));
}

TEST_F(Win32Window, ShutdownReleasesEverythingOnce) {
  openContext();
  EXPECT_TRUE(os->makeCurrent(0, 0));
  EXPECT_TRUE(os->deleteRenderContext(rc));
  rc = 0;
  EXPECT_TRUE(os->releaseDeviceContext(window, dc));
  dc = 0;
  EXPECT_TRUE(os->destroyWindow(window));
  EXPECT_FALSE(IsWindow(hwnd));
  window = 0;
  EXPECT_TRUE(os->unregisterWindowClass("OpenGL"));
  EXPECT_FALSE(os->unregisterWindowClass("OpenGL")) << "a second unregister fails";
}

TEST(Win32Counter, RunsForwardAtItsOwnFrequency) {
  platform::Counter& counter = platform::systemCounter();
  EXPECT_GT(counter.frequency(), 0);
  const int64_t before = counter.now();
  Sleep(20);
  const int64_t elapsedMs = (counter.now() - before) * 1000 / counter.frequency();
  EXPECT_GE(elapsedMs, 15);
}

TEST(Win32Files, CreateReplacesTheNameAndLeavesNothingElse) {
  TempDir dir;
  dir.enter();
  writeFile(dir.file("old.tga"), {1, 2, 3});
  {
    platform::File f = platform::File::create("old.tga");
    ASSERT_TRUE(f.isOpen());
    EXPECT_EQ(readFile(dir.file("old.tga")), (std::vector<uint8_t>{1, 2, 3}))
        << "the name keeps its content until the new file is complete";
    ASSERT_TRUE(f.write("new", 3));
    ASSERT_TRUE(f.close());
  }
  EXPECT_EQ(readFile(dir.file("old.tga")), (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"old.tga"}));

  {
    platform::File f = platform::File::create("old.tga");
    ASSERT_TRUE(f.write("zz", 2));
    f.discard();
  }
  EXPECT_EQ(readFile(dir.file("old.tga")), (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"old.tga"}));

  CreateDirectoryA(dir.file("folder.tga").c_str(), nullptr);
  EXPECT_FALSE(platform::File::create("folder.tga").isOpen());
  EXPECT_FALSE(platform::File::openRead("folder.tga").isOpen());
  EXPECT_TRUE(platform::File::openRead("OLD.TGA").isOpen()) << "names match in any letter case";
  EXPECT_TRUE(platform::deleteFile("Old.Tga"));
  EXPECT_FALSE(platform::fileExists("old.tga"));
}

}  // namespace
