// Start-up order, the fixed GL state, the music start, the main loop and the exit code.
#include "app/entry.h"

#include "app/frame_timer.h"
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

MainLoopPass runMainLoopPass(MainLoopState& state) {
  platform::Platform& os = platform::current();
  if (os.peekMessage(state.message)) {
    if (state.message.message == platform::WM_QUIT) return MainLoopPass::Done;
    os.dispatchMessage(state.message);
    return MainLoopPass::Message;
  }
  if (!windowActive) return MainLoopPass::Idle;
  if (keyDown[platform::VK_ESCAPE]) return MainLoopPass::Done;
  timelineFrame();
  os.swapBuffers(deviceContext);
  if (state.framesLead) frameTimer.frameShown();
  return MainLoopPass::Frame;
}

int runMainLoop() {
  MainLoopState state;
  while (runMainLoopPass(state) != MainLoopPass::Done) {
  }
  return int(state.message.wParam);
}

int startProgram() {
  if (!unpackDataPack()) return kExitBadPack;
  if (!openWindow(kPresentationTitle, kScreenWidth, kScreenHeight, kScreenBits)) return 0;
  return kProgramRunning;
}

int finishProgram(int loopExitCode) {
  closeWindow();
  return loopExitCode;
}

// What WinMain does once the platform is up: the process entry of each platform (WinMain itself
// on Windows) calls it.
int platform::programMain() {
  const int started = startProgram();
  if (started != kProgramRunning) return started;
  return finishProgram(runMainLoop());
}
