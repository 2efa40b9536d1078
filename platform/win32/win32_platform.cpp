#include "platform/win32/win32_platform.h"

#include <GL/gl.h>

#include <string>

#include "platform/letterbox.h"
#include "platform/scaled_surface.h"
#include "platform/win32/gl_entry_point.h"
#include "platform/win32/wave_music.h"
#include "platform/win32/windows_api.h"

namespace platform {

bool glContextCurrent() {
  return wglGetCurrentContext() != nullptr;
}

namespace {

using win32::Surface;

void* glProc(const char* name) {
  return win32::entryPoint(wglGetProcAddress(name));
}

HWND toWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
HDC toDc(DeviceContext dc) {
  return reinterpret_cast<HDC>(dc);
}
HGLRC toRc(RenderContext rc) {
  return reinterpret_cast<HGLRC>(rc);
}

PIXELFORMATDESCRIPTOR describe(const PixelFormatRequest& request) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd.nVersion = 1;
  pfd.dwFlags =
      PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (request.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = BYTE(request.colourBits);
  pfd.cAlphaBits = BYTE(request.alphaBits);
  pfd.cAccumBits = BYTE(request.accumBits);
  pfd.cDepthBits = BYTE(request.depthBits);
  pfd.cStencilBits = BYTE(request.stencilBits);
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

class Win32Platform;
Win32Platform* instance = nullptr;

class Win32Platform final : public Platform {
 public:
  explicit Win32Platform(win32::DisplayMode::ChangeSettings changeSettings)
      : module_(GetModuleHandleA(nullptr)), display_(changeSettings) {
    instance = this;
  }
  ~Win32Platform() override { instance = nullptr; }

  bool registerWindowClass(const char* className, MessageHandler handler) override {
    if (!handler) return false;
    handler_ = handler;
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = module_;
    wc.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
  }

  bool unregisterWindowClass(const char* className) override {
    return UnregisterClassA(className, module_) != 0;
  }

  bool changeDisplayMode(const DisplayModeRequest& mode) override {
    width_ = mode.width;
    height_ = mode.height;
    surface_ = display_.apply(mode);
    desktopWidth_ = GetSystemMetrics(SM_CXSCREEN);
    desktopHeight_ = GetSystemMetrics(SM_CYSCREEN);
    return surface_ != Surface::None;
  }

  void restoreDisplayMode() override { display_.restore(); }

  void showCursor(bool visible) override { ShowCursor(visible ? TRUE : FALSE); }

  WindowHandle createWindow(const char* className, const char* title, int width,
                            int height) override {
    if (surface_ == Surface::DesktopScaled) width = desktopWidth_, height = desktopHeight_;
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, WS_POPUP, FALSE, WS_EX_APPWINDOW);
    window_ = CreateWindowExA(
        WS_EX_APPWINDOW, className, title, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, module_, nullptr);
    return reinterpret_cast<WindowHandle>(window_);
  }

  bool destroyWindow(WindowHandle window) override {
    const bool ok = DestroyWindow(toWindow(window)) != 0;
    if (ok && toWindow(window) == window_) window_ = nullptr;
    return ok;
  }

  DeviceContext getDeviceContext(WindowHandle window) override {
    return reinterpret_cast<DeviceContext>(GetDC(toWindow(window)));
  }

  bool releaseDeviceContext(WindowHandle window, DeviceContext dc) override {
    return ReleaseDC(toWindow(window), toDc(dc)) != 0;
  }

  int choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override {
    const PIXELFORMATDESCRIPTOR pfd = describe(request);
    return ChoosePixelFormat(toDc(dc), &pfd);
  }

  bool setPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override {
    const PIXELFORMATDESCRIPTOR pfd = describe(request);
    return SetPixelFormat(toDc(dc), format, &pfd) != 0;
  }

  RenderContext createRenderContext(DeviceContext dc) override {
    return reinterpret_cast<RenderContext>(wglCreateContext(toDc(dc)));
  }

  bool makeCurrent(DeviceContext dc, RenderContext rc) override {
    if (!wglMakeCurrent(toDc(dc), toRc(rc))) return false;
    if (rc && !surfaceReady_) prepareSurface(toDc(dc));
    return true;
  }

  bool deleteRenderContext(RenderContext rc) override {
    if (!wglDeleteContext(toRc(rc))) return false;
    scaled_.reset();
    surfaceReady_ = false;
    return true;
  }

  void showWindow(WindowHandle window) override { ShowWindow(toWindow(window), SW_SHOW); }
  void setForegroundWindow(WindowHandle window) override { SetForegroundWindow(toWindow(window)); }
  void setFocus(WindowHandle window) override { SetFocus(toWindow(window)); }

  void swapBuffers(DeviceContext dc) override {
    if (scaled_.active()) presentScaled();
    SwapBuffers(toDc(dc));
    if (scaled_.active()) scaled_.afterSwap();
  }

  // The picture goes to the window through GDI: a device-independent bitmap made from the file's
  // own bottom-up blue-green-red rows, copied at its own size to the top-left corner. In desktop
  // full screen it is stretched onto the rectangle the frames will fill.
  void showPicture(WindowHandle window, const uint8_t* bgrBottomUp, int width,
                   int height) override {
    if (!bgrBottomUp) return;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    BITMAPINFO info{};
    info.bmiHeader = header;
    info.bmiColors[0] = RGBQUAD{255, 255, 255, 0};

    HWND hwnd = toWindow(window);
    HDC windowDc = GetDC(hwnd);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap =
        CreateDIBitmap(windowDc, &header, CBM_INIT, bgrBottomUp, &info, DIB_RGB_COLORS);
    SelectObject(memoryDc, bitmap);
    int x = 0, y = 0, w = width, h = height;
    if (surface_ == Surface::DesktopScaled) scaledRectangle(x, y, w, h);
    StretchBlt(windowDc, x, y, w, h, memoryDc, 0, 0, width, height, SRCCOPY);
    DeleteDC(memoryDc);
    DeleteObject(bitmap);
    ReleaseDC(hwnd, windowDc);
    GdiFlush();
  }

  bool peekMessage(Message& message) override {
    if (!PeekMessageA(&last_, nullptr, 0, 0, PM_REMOVE)) return false;
    message = Message{last_.message, uint32_t(last_.wParam), int32_t(last_.lParam)};
    return true;
  }

  void dispatchMessage(const Message&) override {
    TranslateMessage(&last_);
    DispatchMessageA(&last_);
  }

  void postQuitMessage(int exitCode) override { PostQuitMessage(exitCode); }

  MessageResult defaultWindowProc(WindowHandle window, const Message& message) override {
    // The system's own parameters of the message being handled: some carry pointers, which the
    // portable message does not hold.
    if (handling_ && handling_->message == message.message)
      return DefWindowProcA(toWindow(window), handling_->message, handling_->wParam,
                            handling_->lParam);
    return DefWindowProcA(toWindow(window), message.message, WPARAM(message.wParam),
                          LPARAM(message.lParam));
  }

  void messageBox(const char* text, const char* caption) override {
    MessageBoxA(nullptr, text, caption, MB_OK);
  }

  void sleepMs(uint32_t milliseconds) override { Sleep(milliseconds); }

  bool audioInit(int outputRateHz) override {
    if (audioOpen_) return true;
    std::string error;
    if (!music_.open(outputRateHz, error)) return audioFailed("no audio device", error);
    audioOpen_ = true;
    return true;
  }

  // The device opens paused; it starts with the stream, so nothing is heard before.
  bool audioStart() override { return audioOpen_; }

  StreamHandle streamCreateFile(const char* fileName) override {
    if (!audioOpen_ || streamLoaded_) return 0;
    std::string error;
    if (!music_.load(fileName, error)) {
      audioFailed(fileName, error);
      return 0;
    }
    streamLoaded_ = true;
    return 1;
  }

  // Plays once from the first sample; the music never loops and is never stopped.
  bool streamPlay(StreamHandle stream, bool) override {
    return stream == 1 && streamLoaded_ && music_.play();
  }

 private:
  struct RawMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!instance || !instance->handler_) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_ACTIVATEAPP) instance->display_.activated(wParam != 0);
    // Messages nest (the default handling of one sends others): each call keeps its own.
    RawMessage raw{message, wParam, lParam};
    const RawMessage* outer = instance->handling_;
    instance->handling_ = &raw;
    const LRESULT result = instance->handler_(reinterpret_cast<WindowHandle>(hwnd),
                                              Message{message, uint32_t(wParam), int32_t(lParam)});
    instance->handling_ = outer;
    return result;
  }

  bool audioFailed(const char* what, const std::string& why) {
    if (!audioReported_)
      report(("audio: " + std::string(what) + " (" + why + "); the presentation runs silently")
                 .c_str());
    audioReported_ = true;
    return false;
  }

  void scaledRectangle(int& x, int& y, int& w, int& h) const {
    RECT client{};
    GetClientRect(window_, &client);
    const Rect r =
        fitPicture(client.right - client.left, client.bottom - client.top, width_, height_);
    x = r.x, y = r.y, w = r.width, h = r.height;
  }

  void presentScaled() {
    RECT client{};
    GetClientRect(window_, &client);
    scaled_.present(client.right - client.left, client.bottom - client.top);
  }

  // In desktop full screen the program draws into a surface of its own size.
  void prepareSurface(HDC dc) {
    surfaceReady_ = true;
    if (surface_ == Surface::DesktopScaled && !scaled_.create(width_, height_, glProc))
      report("display: no off-screen surface; drawing unscaled");
    clearBothBuffers([this, dc] { swapBuffers(reinterpret_cast<DeviceContext>(dc)); });
    scaled_.bind();
  }

  HINSTANCE module_;
  win32::DisplayMode display_;
  MessageHandler handler_ = nullptr;
  const RawMessage* handling_ = nullptr;  // the message the window procedure is handling
  MSG last_{};                            // the message peekMessage took last
  Surface surface_ = Surface::None;
  int width_ = 800;  // the program's picture, pixels
  int height_ = 600;
  int desktopWidth_ = 0;
  int desktopHeight_ = 0;
  HWND window_ = nullptr;
  bool surfaceReady_ = false;
  ScaledSurface scaled_;
  win32::WaveMusic music_;
  bool audioOpen_ = false;
  bool streamLoaded_ = false;
  bool audioReported_ = false;
};

}  // namespace

std::unique_ptr<Platform> createWin32Platform(win32::DisplayMode::ChangeSettings changeSettings) {
  return std::make_unique<Win32Platform>(changeSettings);
}

}  // namespace platform
