// A platform that records every call in order and fails the steps a test asks it to, so that the
// start-up order, the failure messages and the message loop are tested without a display.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

class FakePlatform : public platform::Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  // Step names that fail: "registerWindowClass", "changeDisplayMode", "createWindow",
  // "getDeviceContext", "choosePixelFormat", "setPixelFormat", "createRenderContext",
  // "makeCurrent", "releaseCurrent", "deleteRenderContext", "releaseDeviceContext",
  // "destroyWindow", "unregisterWindowClass", "audioInit".
  std::set<std::string> failing;
  std::vector<std::string> calls;  // every call, in order, e.g. "createWindow OpenGL"
  std::vector<std::string> boxes;  // "CAPTION: text", in order
  std::deque<platform::Message> queue;
  int swaps = 0;
  // Called by swapBuffers: lets a test act between frames (push messages, stop the loop).
  void (*onSwap)(FakePlatform&) = nullptr;
  // Called when peekMessage finds the queue empty (before it reports so).
  int idlePasses = 0;
  void (*onIdle)(FakePlatform&) = nullptr;

  void push(uint32_t message, uint32_t wParam = 0, int32_t lParam = 0) {
    queue.push_back(platform::Message{message, wParam, lParam});
  }
  // Index of the first call that starts with `prefix`, or -1.
  int indexOf(const std::string& prefix) const;

  bool registerWindowClass(const char* className, platform::MessageHandler handler) override;
  bool unregisterWindowClass(const char* className) override;
  bool changeDisplayMode(const platform::DisplayModeRequest& mode) override;
  void restoreDisplayMode() override;
  void showCursor(bool visible) override;
  platform::WindowHandle createWindow(const char* className, const char* title, int width,
                                      int height) override;
  bool destroyWindow(platform::WindowHandle window) override;
  platform::DeviceContext getDeviceContext(platform::WindowHandle window) override;
  bool releaseDeviceContext(platform::WindowHandle window, platform::DeviceContext dc) override;
  int choosePixelFormat(platform::DeviceContext dc,
                        const platform::PixelFormatRequest& request) override;
  bool setPixelFormat(platform::DeviceContext dc, int format,
                      const platform::PixelFormatRequest& request) override;
  platform::RenderContext createRenderContext(platform::DeviceContext dc) override;
  bool makeCurrent(platform::DeviceContext dc, platform::RenderContext rc) override;
  bool deleteRenderContext(platform::RenderContext rc) override;
  void showWindow(platform::WindowHandle window) override;
  void setForegroundWindow(platform::WindowHandle window) override;
  void setFocus(platform::WindowHandle window) override;
  void swapBuffers(platform::DeviceContext dc) override;
  void showPicture(platform::WindowHandle window, const uint8_t* bgrBottomUp, int width,
                   int height) override;
  bool peekMessage(platform::Message& message) override;
  void dispatchMessage(const platform::Message& message) override;
  void postQuitMessage(int exitCode) override;
  platform::MessageResult defaultWindowProc(platform::WindowHandle window,
                                            const platform::Message& message) override;
  void messageBox(const char* text, const char* caption) override;
  void sleepMs(uint32_t milliseconds) override;
  bool audioInit(int outputRateHz) override;
  bool audioStart() override;
  platform::StreamHandle streamCreateFile(const char* fileName) override;
  bool streamPlay(platform::StreamHandle stream, bool restart) override;

 private:
  platform::MessageHandler handler_ = nullptr;
  bool fails(const char* step) const { return failing.count(step) > 0; }
  void log(const std::string& call) { calls.push_back(call); }
};
