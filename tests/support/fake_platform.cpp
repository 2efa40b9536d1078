#include "support/fake_platform.h"

#include <string>

using namespace platform;

FakePlatform::FakePlatform() {
  setCurrent(this);
}
FakePlatform::~FakePlatform() {
  setCurrent(nullptr);
}

int FakePlatform::indexOf(const std::string& prefix) const {
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].compare(0, prefix.size(), prefix) == 0) return int(i);
  return -1;
}

bool FakePlatform::registerWindowClass(const char* className, platform::MessageHandler handler) {
  log(std::string("registerWindowClass ") + className);
  handler_ = handler;
  return !fails("registerWindowClass");
}

bool FakePlatform::unregisterWindowClass(const char* className) {
  log(std::string("unregisterWindowClass ") + className);
  return !fails("unregisterWindowClass");
}

bool FakePlatform::changeDisplayMode(const DisplayModeRequest& m) {
  log("changeDisplayMode " + std::to_string(m.width) + "x" + std::to_string(m.height) + "x" +
      std::to_string(m.bitsPerPixel) + "@" + std::to_string(m.refreshHz));
  return !fails("changeDisplayMode");
}

void FakePlatform::restoreDisplayMode() {
  log("restoreDisplayMode");
}
void FakePlatform::showCursor(bool visible) {
  log(visible ? "showCursor 1" : "showCursor 0");
}

WindowHandle FakePlatform::createWindow(const char* className, const char* title, int width,
                                        int height) {
  log(std::string("createWindow ") + className + " " + title + " " + std::to_string(width) + "x" +
      std::to_string(height));
  return fails("createWindow") ? 0 : 7;
}

bool FakePlatform::destroyWindow(WindowHandle window) {
  log("destroyWindow " + std::to_string(window));
  return !fails("destroyWindow");
}

DeviceContext FakePlatform::getDeviceContext(WindowHandle window) {
  log("getDeviceContext");
  return fails("getDeviceContext") ? 0 : 8;
}

bool FakePlatform::releaseDeviceContext(WindowHandle, DeviceContext dc) {
  log("releaseDeviceContext " + std::to_string(dc));
  return !fails("releaseDeviceContext");
}

int FakePlatform::choosePixelFormat(DeviceContext, const PixelFormatRequest& r) {
  log("choosePixelFormat " + std::to_string(r.colourBits) + "/" + std::to_string(r.depthBits));
  return fails("choosePixelFormat") ? 0 : 3;
}

bool FakePlatform::setPixelFormat(DeviceContext, int format, const PixelFormatRequest&) {
  log("setPixelFormat " + std::to_string(format));
  return !fails("setPixelFormat");
}

RenderContext FakePlatform::createRenderContext(DeviceContext) {
  log("createRenderContext");
  return fails("createRenderContext") ? 0 : 9;
}

bool FakePlatform::makeCurrent(DeviceContext dc, RenderContext rc) {
  if (dc == 0 && rc == 0) {
    log("releaseCurrent");
    return !fails("releaseCurrent");
  }
  log("makeCurrent");
  return !fails("makeCurrent");
}

bool FakePlatform::deleteRenderContext(RenderContext) {
  log("deleteRenderContext");
  return !fails("deleteRenderContext");
}

void FakePlatform::showWindow(WindowHandle) {
  log("showWindow");
}
void FakePlatform::setForegroundWindow(WindowHandle) {
  log("setForegroundWindow");
}
void FakePlatform::setFocus(WindowHandle) {
  log("setFocus");
}

void FakePlatform::swapBuffers(DeviceContext) {
  ++swaps;
  log("swapBuffers");
  if (onSwap) onSwap(*this);
}

void FakePlatform::showPicture(WindowHandle, const uint8_t*, int width, int height) {
  log("showPicture " + std::to_string(width) + "x" + std::to_string(height));
}

bool FakePlatform::peekMessage(Message& message) {
  if (queue.empty()) {
    ++idlePasses;
    if (onIdle) onIdle(*this);
    return false;
  }
  message = queue.front();
  queue.pop_front();
  return true;
}

void FakePlatform::dispatchMessage(const Message& message) {
  if (handler_) handler_(7, message);
}

void FakePlatform::postQuitMessage(int exitCode) {
  log("postQuitMessage " + std::to_string(exitCode));
  push(WM_QUIT, uint32_t(exitCode));
}

platform::MessageResult FakePlatform::defaultWindowProc(WindowHandle, const Message& message) {
  log("defaultWindowProc " + std::to_string(message.message) + " " +
      std::to_string(message.wParam));
  if (message.message == WM_SYSCOMMAND && message.wParam == SC_CLOSE) push(WM_CLOSE);
  return 0;
}

void FakePlatform::messageBox(const char* text, const char* caption) {
  log(std::string("messageBox ") + caption + ": " + text);
  boxes.push_back(std::string(caption) + ": " + text);
}

void FakePlatform::sleepMs(uint32_t ms) {
  log("sleepMs " + std::to_string(ms));
}

bool FakePlatform::audioInit(int rate) {
  log("audioInit " + std::to_string(rate));
  return !fails("audioInit");
}

bool FakePlatform::audioStart() {
  log("audioStart");
  return !fails("audioInit");
}

StreamHandle FakePlatform::streamCreateFile(const char* fileName) {
  log(std::string("streamCreateFile ") + fileName);
  return fails("audioInit") ? 0 : 5;
}

bool FakePlatform::streamPlay(StreamHandle stream, bool restart) {
  log("streamPlay " + std::to_string(stream) + (restart ? " restart" : ""));
  return stream != 0;
}
