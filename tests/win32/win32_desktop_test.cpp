// What a real Windows desktop asks of the program beyond what Wine shows by itself: the display
// kept on and the mode given back while another desktop is in front, a log-off that closes as a
// close request does, diagnostics that reach a debugger, a manifest that keeps the program out of
// the VirtualStore, pointer-sized window-procedure results, GL entry points that are really there,
// and temporary names that survive a killed run's leftovers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/entry.h"
#include "app/window.h"
#include "assets/data_pack.h"
#include "platform/files.h"
#include "platform/win32/display_mode.h"
#include "platform/win32/gl_entry_point.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "support/temp_dir.h"

namespace {

using platform::win32::DisplayMode;
using platform::win32::Surface;

// ChangeDisplaySettingsA's stand-in: records each call (0x0 for the desktop's mode) and answers
// with what the test set.
std::vector<std::string> displayCalls;
LONG displayAnswer = DISP_CHANGE_SUCCESSFUL;
LONG WINAPI recordDisplayChange(DEVMODEA* mode, DWORD flags) {
  displayCalls.push_back(mode ? std::to_string(mode->dmPelsWidth) + "x" +
                                    std::to_string(mode->dmPelsHeight) + "@" +
                                    std::to_string(mode->dmDisplayFrequency)
                              : "desktop");
  return mode ? displayAnswer : DISP_CHANGE_SUCCESSFUL;
}

// The thread's execution state, read without changing it once ES_CONTINUOUS is in it.
EXECUTION_STATE executionState() {
  const EXECUTION_STATE state = SetThreadExecutionState(0);
  if (!(state & ES_CONTINUOUS)) SetThreadExecutionState(state);
  return state;
}

const platform::DisplayModeRequest kRequest{800, 600, 32, 85};

TEST(Win32DisplayMode, HeldWhileInFrontGivenBackBehindAndTheDisplayKeptOn) {
  displayCalls.clear();
  displayAnswer = DISP_CHANGE_SUCCESSFUL;
  DisplayMode display(recordDisplayChange);
  ASSERT_EQ(display.apply(kRequest), Surface::ExactMode);
  EXPECT_EQ(executionState() & (ES_CONTINUOUS | ES_DISPLAY_REQUIRED),
            EXECUTION_STATE(ES_CONTINUOUS | ES_DISPLAY_REQUIRED));

  display.activated(false);  // a desktop switch, another program in front
  display.activated(true);
  display.restore();
  display.activated(true);  // after the close nothing switches any more
  EXPECT_EQ(displayCalls,
            (std::vector<std::string>{"800x600@85", "desktop", "800x600@85", "desktop"}));
  EXPECT_EQ(executionState() & ES_DISPLAY_REQUIRED, 0u) << "the display may sleep again";

  // Desktop full screen never changed the mode, so activation changes none either.
  displayCalls.clear();
  displayAnswer = DISP_CHANGE_BADMODE;
  ASSERT_EQ(display.apply(kRequest), Surface::DesktopScaled);
  display.activated(false);
  display.activated(true);
  EXPECT_EQ(displayCalls, (std::vector<std::string>{"800x600@85", "800x600@0"}));
  EXPECT_TRUE(executionState() & ES_DISPLAY_REQUIRED);
  display.restore();
}

class Win32Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    displayCalls.clear();
    displayAnswer = DISP_CHANGE_SUCCESSFUL;
    os = platform::createWin32Platform(recordDisplayChange);
    platform::setCurrent(os.get());
    ASSERT_TRUE(os->registerWindowClass("OpenGL", handleWindowMessage));
    ASSERT_TRUE(os->changeDisplayMode(kRequest));
    window = os->createWindow("OpenGL", "Karvenel / Olmetra / Quillory 2oo4", 800, 600);
    ASSERT_NE(window, 0u);
    hwnd = reinterpret_cast<HWND>(window);
  }
  void TearDown() override {
    if (window) os->destroyWindow(window);
    os->unregisterWindowClass("OpenGL");
    os->restoreDisplayMode();
    platform::setCurrent(nullptr);
  }
  // Takes every queued message; the quit message's code, or -1 when none came.
  long pumpForQuit() {
    long quit = -1;
    platform::Message message;
    while (os->peekMessage(message)) {
      if (message.message == WM_QUIT)
        quit = long(message.wParam);
      else
        os->dispatchMessage(message);
    }
    return quit;
  }

  std::unique_ptr<platform::Platform> os;
  platform::WindowHandle window = 0;
  HWND hwnd = nullptr;
};

TEST_F(Win32Desktop, ActivationSwitchesBetweenTheProgramsModeAndTheDesktops) {
  SendMessageA(hwnd, WM_ACTIVATEAPP, FALSE, 0);
  SendMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(displayCalls, (std::vector<std::string>{"800x600@85", "desktop", "800x600@85"}));
}

TEST_F(Win32Desktop, LogOffClosesAsACloseRequestDoes) {
  TempDir dir;
  dir.enter();
  for (const char* name : unpackedFileNames) writeFile(dir.file(name), {1});
  writeFile(dir.file("data.dat"), {2});
  pumpForQuit();

  EXPECT_EQ(SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0), TRUE) << "log-off may go ahead";
  SendMessageA(hwnd, WM_ENDSESSION, FALSE, 0);  // cancelled by someone else: nothing changes
  EXPECT_EQ(dir.list().size(), 19u);
  EXPECT_EQ(pumpForQuit(), -1);

  displayCalls.clear();
  SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
  // Done before the handler returns, since the system may end the process right after.
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"data.dat"}));
  EXPECT_EQ(displayCalls, (std::vector<std::string>{"desktop"}));
  EXPECT_EQ(executionState() & ES_DISPLAY_REQUIRED, 0u);
  EXPECT_EQ(pumpForQuit(), 0) << "the loop ends as after a close request";
}

// OutputDebugStringA raises this exception for a debugger to catch; a handler of the process's own
// sees it first.
std::string debuggerOutput;
LONG CALLBACK catchDebugString(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2)
    debuggerOutput += reinterpret_cast<const char*>(record->ExceptionInformation[1]);
  return EXCEPTION_CONTINUE_SEARCH;
}

TEST(Win32Report, WhatTheProgramSaysReachesTheDebugger) {
  void* handler = AddVectoredExceptionHandler(1, catchDebugString);
  ASSERT_NE(handler, nullptr);
  debuggerOutput.clear();
  platform::report("c00.3ds: the file ends inside the chunk 0x4110 at byte 52");
  RemoveVectoredExceptionHandler(handler);
  EXPECT_EQ(debuggerOutput, "c00.3ds: the file ends inside the chunk 0x4110 at byte 52\n");
}

// The program's manifest, read from demo.exe itself (DEMO_EXE names it).
TEST(Win32Manifest, RunsAsInvokerAndDpiAware) {
  const char* exe = std::getenv("DEMO_EXE");
  ASSERT_NE(exe, nullptr) << "DEMO_EXE must name demo.exe";
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << exe << ": error " << GetLastError();
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(resource, nullptr) << "no manifest";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  const std::string manifest(bytes, SizeofResource(module, resource));
  FreeLibrary(module);
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

// The window procedure's result is pointer-sized from the program's handler to the system: some
// results are handles or pointers, which 32 bits would cut on 64-bit Windows.
static_assert(sizeof(platform::MessageResult) == sizeof(LRESULT));
static_assert(
    std::is_same_v<decltype(handleWindowMessage(0, platform::Message{})), platform::MessageResult>);

TEST(Win32GlEntryPoint, TheDriversNotFoundAnswersAreNull) {
  for (const intptr_t answer : {0, 1, 2, 3, -1})
    EXPECT_EQ(platform::win32::entryPoint(reinterpret_cast<PROC>(answer)), nullptr) << answer;
  const PROC real = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount");
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(platform::win32::entryPoint(real), reinterpret_cast<void*>(real));
}

// A killed run leaves its temporaries; when the process id comes round again, their names are
// taken, and the unpack passes over them instead of refusing the pack.
TEST(Win32Files, TemporaryNamesAlreadyTakenArePassedOver) {
  TempDir dir;
  dir.enter();
  std::string next;
  {
    platform::File probe = platform::File::create("probe.tga");
    ASSERT_TRUE(probe.isOpen());
    const std::vector<std::string> names = dir.list();
    ASSERT_EQ(names.size(), 1u);
    next = names[0];
    probe.discard();
  }
  // .unpacking-PID-N.tmp: the next names of this run, left by "another" run.
  const size_t dash = next.rfind('-');
  const unsigned counter = unsigned(std::stoul(next.substr(dash + 1)));
  for (unsigned i = 1; i <= 20; ++i)
    writeFile(dir.file(next.substr(0, dash + 1) + std::to_string(counter + i) + ".tmp"), {7});

  platform::File f = platform::File::create("skora.tga");
  ASSERT_TRUE(f.isOpen()) << "a taken temporary name refused the file";
  ASSERT_TRUE(f.write("new", 3));
  ASSERT_TRUE(f.close());
  EXPECT_EQ(readFile(dir.file("skora.tga")), (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_EQ(dir.list().size(), 21u) << "the leftovers are not this run's to remove";
  EXPECT_EQ(readFile(dir.file(next.substr(0, dash + 1) + std::to_string(counter + 1) + ".tmp")),
            (std::vector<uint8_t>{7}));
}

}  // namespace
