// A Platform decorator for runs with no viewer: it passes window and GL calls to the real platform
// but skips pauses, keeps the audio silent, keeps message boxes for the caller to report, and lets
// the runner see each finished frame just before the swap.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gfx/gl.h"
#include "platform/platform.h"

namespace headless {

class HeadlessPlatform final : public platform::Platform {
 public:
  explicit HeadlessPlatform(std::unique_ptr<platform::Platform> inner) : inner_(std::move(inner)) {}

  // Called with the drawn frame still in the buffer, before each swap the program asks for.
  void onBeforeSwap(std::function<void()> hook) { beforeSwap_ = std::move(hook); }
  // Called after each still picture the program shows (the loading screen), with it still in
  // the buffer.
  void onPictureShown(std::function<void()> hook) { pictureShown_ = std::move(hook); }
  // The first message box of the run ("caption: text"), empty when none was shown.
  const std::string& firstMessage() const { return firstMessage_; }

  bool registerWindowClass(const char* className, platform::MessageHandler handler) override {
    return inner_->registerWindowClass(className, handler);
  }
  bool unregisterWindowClass(const char* className) override {
    return inner_->unregisterWindowClass(className);
  }
  bool changeDisplayMode(const platform::DisplayModeRequest& mode) override {
    return inner_->changeDisplayMode(mode);
  }
  void restoreDisplayMode() override { inner_->restoreDisplayMode(); }
  void showCursor(bool visible) override { inner_->showCursor(visible); }
  platform::WindowHandle createWindow(const char* className, const char* title, int width,
                                      int height) override {
    return inner_->createWindow(className, title, width, height);
  }
  bool destroyWindow(platform::WindowHandle window) override {
    return inner_->destroyWindow(window);
  }
  platform::DeviceContext getDeviceContext(platform::WindowHandle window) override {
    return inner_->getDeviceContext(window);
  }
  bool releaseDeviceContext(platform::WindowHandle window, platform::DeviceContext dc) override {
    return inner_->releaseDeviceContext(window, dc);
  }
  int choosePixelFormat(platform::DeviceContext dc,
                        const platform::PixelFormatRequest& request) override {
    return inner_->choosePixelFormat(dc, request);
  }
  bool setPixelFormat(platform::DeviceContext dc, int format,
                      const platform::PixelFormatRequest& request) override {
    return inner_->setPixelFormat(dc, format, request);
  }
  platform::RenderContext createRenderContext(platform::DeviceContext dc) override {
    return inner_->createRenderContext(dc);
  }
  bool makeCurrent(platform::DeviceContext dc, platform::RenderContext rc) override {
    return inner_->makeCurrent(dc, rc);
  }
  bool deleteRenderContext(platform::RenderContext rc) override {
    return inner_->deleteRenderContext(rc);
  }
  void showWindow(platform::WindowHandle window) override { inner_->showWindow(window); }
  void setForegroundWindow(platform::WindowHandle window) override {
    inner_->setForegroundWindow(window);
  }
  void setFocus(platform::WindowHandle window) override { inner_->setFocus(window); }
  void swapBuffers(platform::DeviceContext dc) override {
    if (beforeSwap_) beforeSwap_();
    // The off-screen driver's swap does nothing, so nothing else ends the frame: llvmpipe would
    // keep queuing every frame's commands unrendered (gigabytes over a trace of the scenes).
    glFinish();
    inner_->swapBuffers(dc);
  }
  void showPicture(platform::WindowHandle window, const uint8_t* bgrBottomUp, int width,
                   int height) override {
    inner_->showPicture(window, bgrBottomUp, width, height);
    if (pictureShown_) pictureShown_();
  }
  bool peekMessage(platform::Message& message) override { return inner_->peekMessage(message); }
  void dispatchMessage(const platform::Message& message) override {
    inner_->dispatchMessage(message);
  }
  void postQuitMessage(int exitCode) override { inner_->postQuitMessage(exitCode); }
  platform::MessageResult defaultWindowProc(platform::WindowHandle window,
                                            const platform::Message& message) override {
    return inner_->defaultWindowProc(window, message);
  }

  void messageBox(const char* text, const char* caption) override {
    if (firstMessage_.empty())
      firstMessage_ = std::string(caption ? caption : "") + ": " + (text ? text : "");
  }

  // Time is stepped by the runner, so the one-second settling pause would only cost a second.
  void sleepMs(uint32_t) override {}

  // A capture muxes the music file itself; playing it would need a device and add nothing.
  bool audioInit(int) override { return false; }
  bool audioStart() override { return false; }
  platform::StreamHandle streamCreateFile(const char*) override { return 0; }
  bool streamPlay(platform::StreamHandle, bool) override { return false; }

 private:
  std::unique_ptr<platform::Platform> inner_;
  std::function<void()> beforeSwap_;
  std::function<void()> pictureShown_;
  std::string firstMessage_;
};

}  // namespace headless
