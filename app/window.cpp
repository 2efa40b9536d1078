// Opening and closing the window and its GL context, in the fixed order of the design, with its
// messages spelled exactly as the program has always shown them.
#include "app/window.h"

#include "app/entry.h"
#include "app/frame_timer.h"
#include "app/loading_screen.h"
#include "assets/data_pack.h"
#include "fx/program_objects.h"
#include "gfx/gl.h"

platform::WindowHandle windowHandle = 0;
platform::DeviceContext deviceContext = 0;
platform::RenderContext renderContext = 0;

namespace {

const char* const kClassName = "OpenGL";

void errorBox(const char* text) {
  platform::current().messageBox(text, "ERROR");
}

// The background slot first, while its context may still be current, then the pack's loose files.
void releaseAssetsAndRemoveFiles() {
  back01Texture.release();
  removeUnpackedFiles();
}

// closeWindow first, then the message.
int failAfterRelease(const char* text) {
  closeWindow();
  errorBox(text);
  return 0;
}

}  // namespace

int openWindow(const char* title, int width, int height, int bits) {
  platform::Platform& os = platform::current();

  if (!os.registerWindowClass(kClassName, handleWindowMessage)) {
    // The loose files go too: nothing relies on finding them after a failed start.
    releaseAssetsAndRemoveFiles();
    errorBox("Falied To Register Window Class");
    return 0;
  }

  platform::DisplayModeRequest mode;
  mode.width = width;
  mode.height = height;
  mode.bitsPerPixel = bits;
  mode.refreshHz = 85;
  if (!os.changeDisplayMode(mode)) {
    releaseAssetsAndRemoveFiles();
    errorBox("Unable To Run In Fullscreen!");
    errorBox("Program Will Now Quit");
    return 0;
  }

  os.showCursor(false);

  windowHandle = os.createWindow(kClassName, title, width, height);
  if (!windowHandle) return failAfterRelease("Window Creation Error.");

  deviceContext = os.getDeviceContext(windowHandle);
  if (!deviceContext) return failAfterRelease("Can`t Create A GL Device Context");

  platform::PixelFormatRequest pixelFormat;
  pixelFormat.colourBits = bits;
  pixelFormat.depthBits = 16;
  const int format = os.choosePixelFormat(deviceContext, pixelFormat);
  if (!format) return failAfterRelease("Can`t Find A Suitable PixelFormat");
  if (!os.setPixelFormat(deviceContext, format, pixelFormat))
    return failAfterRelease("Can`t Set The PixelFormat");

  renderContext = os.createRenderContext(deviceContext);
  if (!renderContext) return failAfterRelease("Can`t Create A GL Rendering Context");
  if (!os.makeCurrent(deviceContext, renderContext))
    return failAfterRelease("Can`t Activate The GL Rendering Context");

  os.showWindow(windowHandle);
  showLoadingScreen();
  os.setForegroundWindow(windowHandle);
  os.setFocus(windowHandle);
  resizeView(width, height);
  setupRenderState();

  os.sleepMs(1000);
  os.streamPlay(musicStream, true);
  frameTimer.start();
  return 1;
}

void closeWindow() {
  platform::Platform& os = platform::current();
  releaseAssetsAndRemoveFiles();
  os.restoreDisplayMode();
  os.showCursor(true);
  if (renderContext) {
    if (!os.makeCurrent(0, 0)) os.messageBox("Release Of DC And RC Falied.", "SHUTDOWN ERROR");
    if (!os.deleteRenderContext(renderContext))
      os.messageBox("Release Rendering Context Falied.", "SHUTDOWN ERROR");
    renderContext = 0;
  }
  if (deviceContext && !os.releaseDeviceContext(windowHandle, deviceContext))
    os.messageBox("Release Device Contxt Falied", "SHUTDOWN EROR");
  if (windowHandle && !os.destroyWindow(windowHandle))
    os.messageBox("Could Not Release hWnd", "SHUTDOWN ERROR");
  if (!os.unregisterWindowClass(kClassName))
    os.messageBox("Could Not Unregister Class", "SHUTDOWN ERROR");
}

void resizeView(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, double(width) / double(height), double(0.01f), 10.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

platform::MessageResult handleWindowMessage(platform::WindowHandle window,
                                            const platform::Message& message) {
  using namespace platform;
  switch (message.message) {
    case WM_ACTIVATE:
      windowActive = (message.wParam >> 16) == 0 ? 1 : 0;
      return 0;
    case WM_SYSCOMMAND:
      if (message.wParam == SC_SCREENSAVE || message.wParam == SC_MONITORPOWER) return 0;
      break;
    case WM_CLOSE:
      current().postQuitMessage(0);
      return 0;
    case WM_QUERYENDSESSION:
      return 1;  // log-off and shut-down may go ahead
    case WM_ENDSESSION:
      // The session is ending: the system may end the process as soon as this returns, before the
      // main loop could close, so what a close leaves tidy is done here: no loose files, the
      // desktop's own display mode. The quit then ends the loop as a close request does.
      if (message.wParam) {
        releaseAssetsAndRemoveFiles();
        current().restoreDisplayMode();
        current().postQuitMessage(0);
      }
      return 0;
    case WM_KEYDOWN:
      if (message.wParam < 256) keyDown[message.wParam] = 1;
      return 0;
    case WM_KEYUP:
      if (message.wParam < 256) keyDown[message.wParam] = 0;
      return 0;
    case WM_SIZE:
      resizeView(message.lParam & 0xFFFF, (uint32_t(message.lParam) >> 16) & 0xFFFF);
      return 0;
    case WM_MOUSEMOVE:
      return 0;
    default:
      break;
  }
  return current().defaultWindowProc(window, message);
}
