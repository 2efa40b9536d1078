// Start-up order, the fixed GL state, the music start, the main loop and the exit code.
#include "app/entry.h"

#include "app/presentation.h"
#include "app/timeline.h"
#include "app/window.h"
#include "assets/asset_names.h"
#include "assets/catalogue.h"
#include "assets/data_pack.h"
#include "gfx/gl.h"

int32_t windowActive = 1;
int32_t keyDown[256] = {};
platform::StreamHandle musicStream = 0;

namespace {
// A pack that cannot be unpacked ends the program before any window opens.
constexpr int kExitBadPack = 2;
}  // namespace

void setFixedRenderState() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

int setupRenderState() {
  setFixedRenderState();
  loadAssets();
  platform::Platform& os = platform::current();
  os.audioInit(44100);
  os.audioStart();
  musicStream = os.streamCreateFile(assetname::kMusic);
  return 1;
}

int runMainLoop() {
  platform::Platform& os = platform::current();
  platform::Message msg;
  bool done = false;
  while (!done) {
    if (os.peekMessage(msg)) {
      if (msg.message == platform::WM_QUIT)
        done = true;
      else
        os.dispatchMessage(msg);
    } else if (windowActive) {
      if (keyDown[platform::VK_ESCAPE]) {
        done = true;
      } else {
        timelineFrame();
        os.swapBuffers(deviceContext);
      }
    }
  }
  return int(msg.wParam);
}

// What WinMain does once the platform is up: the process entry of each platform (WinMain itself
// on Windows) calls it.
int platform::programMain() {
  if (!unpackDataPack()) return kExitBadPack;
  if (!openWindow(kPresentationTitle, kScreenWidth, kScreenHeight, kScreenBits)) return 0;
  const int exitCode = runMainLoop();
  closeWindow();
  return exitCode;
}
