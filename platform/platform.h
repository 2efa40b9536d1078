// The services the presentation needs from the operating system, as one interface: full-screen
// surface and GL context, window messages, message boxes, cursor, performance counter, sleep and
// audio. Each operating system implements it in a folder of its own, chosen by the build:
// linux/ on SDL2 and SDL2_mixer, win32/ on the Win32 API, WGL, GDI and the system's audio codecs.
// Tests supply a fake. Files are in files.h; they need no fake because tests use real temporary
// folders.
#pragma once

#include <cstdint>

namespace platform {

// Window messages, with the identifiers and parameters of the Windows messages they stand for, so
// that the program's message handler reads like the one it was designed as.
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUERYENDSESSION = 0x0011;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ENDSESSION = 0x0016;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;

constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_SCREENSAVE = 0xF140;
constexpr uint32_t SC_MONITORPOWER = 0xF170;

constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;

constexpr uint32_t VK_ESCAPE = 27;

struct Message {
  uint32_t message = 0;
  uint32_t wParam = 0;  // WM_ACTIVATE: low word active state, high word 1 when minimised
  int32_t lParam = 0;   // WM_SIZE: low word width, high word height
};

// Opaque handles; 0 means none.
using WindowHandle = uintptr_t;
using DeviceContext = uintptr_t;
using RenderContext = uintptr_t;
using StreamHandle = uint32_t;

struct DisplayModeRequest {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int refreshHz = 0;
};

struct PixelFormatRequest {
  int colourBits = 32;
  int depthBits = 16;
  int alphaBits = 0;
  int stencilBits = 0;
  int accumBits = 0;
  bool doubleBuffer = true;
};

// Ticks of a monotonic counter. FrameTimer reads time only through this, so tests, capture and
// trace can drive the timeline with exact steps.
class Counter {
 public:
  virtual ~Counter() = default;
  virtual int64_t frequency() = 0;  // ticks per second; 0 if there is no counter
  virtual int64_t now() = 0;
};

// The system's monotonic counter. Usable before main() runs.
Counter& systemCounter();

// A window procedure's result: pointer-sized, as the system's own (some results are handles).
using MessageResult = intptr_t;

// The program's window procedure: it receives every message of the window, from the system while
// the window is made and shown, and from the main loop through dispatchMessage.
using MessageHandler = MessageResult (*)(WindowHandle window, const Message& message);

class Platform {
 public:
  virtual ~Platform() = default;

  // Window class and display mode.
  virtual bool registerWindowClass(const char* className, MessageHandler handler) = 0;
  virtual bool unregisterWindowClass(const char* className) = 0;
  // Switches to full screen: the exact mode, the same size at another refresh rate, or desktop full
  // screen with the picture scaled onto it. False only when no full-screen surface is possible.
  virtual bool changeDisplayMode(const DisplayModeRequest& mode) = 0;
  virtual void restoreDisplayMode() = 0;
  virtual void showCursor(bool visible) = 0;

  // Window, device context, pixel format and GL context. The window is created invisible.
  virtual WindowHandle createWindow(const char* className, const char* title, int width,
                                    int height) = 0;
  virtual bool destroyWindow(WindowHandle window) = 0;
  virtual DeviceContext getDeviceContext(WindowHandle window) = 0;
  virtual bool releaseDeviceContext(WindowHandle window, DeviceContext dc) = 0;
  virtual int choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) = 0;
  virtual bool setPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) = 0;
  virtual RenderContext createRenderContext(DeviceContext dc) = 0;
  // dc and rc both 0 releases the current context.
  virtual bool makeCurrent(DeviceContext dc, RenderContext rc) = 0;
  virtual bool deleteRenderContext(RenderContext rc) = 0;
  virtual void showWindow(WindowHandle window) = 0;
  virtual void setForegroundWindow(WindowHandle window) = 0;
  virtual void setFocus(WindowHandle window) = 0;
  virtual void swapBuffers(DeviceContext dc) = 0;

  // Puts a picture of 24-bit pixels (blue, green, red; bottom row first; rows tightly packed) on
  // the window's top-left corner at its own size, and shows it at once.
  virtual void showPicture(WindowHandle window, const uint8_t* bgrBottomUp, int width,
                           int height) = 0;

  // Messages. peekMessage takes at most one message without waiting; dispatchMessage hands the
  // message it took to the window procedure (on Windows through TranslateMessage and
  // DispatchMessageA, with the system's own parameters).
  virtual bool peekMessage(Message& message) = 0;
  virtual void dispatchMessage(const Message& message) = 0;
  virtual void postQuitMessage(int exitCode) = 0;
  // What the system does with a message the program does not handle.
  virtual MessageResult defaultWindowProc(WindowHandle window, const Message& message) = 0;

  // A modal box with one OK button and no owner; where none can be shown, the text goes to stderr.
  virtual void messageBox(const char* text, const char* caption) = 0;

  virtual void sleepMs(uint32_t milliseconds) = 0;

  // Audio: results are for reporting only; the presentation runs silently when they fail.
  virtual bool audioInit(int outputRateHz) = 0;
  virtual bool audioStart() = 0;
  virtual StreamHandle streamCreateFile(const char* fileName) = 0;
  virtual bool streamPlay(StreamHandle stream, bool restart) = 0;
};

// Writes one line of what the program has to say (a file it could not load, a device it runs
// without) on stderr and wherever else the system shows a program's diagnostics: a Windows GUI
// program's stderr goes nowhere, so there it also goes to the debugger's output.
void report(const char* line);

// True while a GL context is current on this thread. GL deletions in destructors that run after the
// context is gone check this and skip.
bool glContextCurrent();

// The platform the program runs on; set once by the process entry or by a test.
Platform& current();
void setCurrent(Platform* platform);

// The program itself, defined by the application: the process entry of each platform (main on
// Linux, WinMain on Windows) makes the platform current and calls it; its result is the exit code.
int programMain();

}  // namespace platform
