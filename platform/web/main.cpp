// The process entry in the browser: the program starts as everywhere (unpacking, window, loading
// picture, music and timer), then its main loop runs one animation frame at a time, because a
// browser page must return to the browser to have anything shown.
#include <emscripten/emscripten.h>

#include "app/entry.h"
#include "platform/web/web_platform.h"

namespace {

MainLoopState loopState;

// The stepped time mode: frames per second (0: the browser's clock) and the next frame's number.
int steppedFps = 0;
int64_t steppedFrame = 0;

int64_t steppedFrameMs() {
  return steppedFrame * 1000 / steppedFps;
}

// Passes until a frame is drawn or nothing is left to do: every message that came in since the
// previous animation frame is handled before the frame, as the native loop would.
void animationFrame() {
  if (steppedFps > 0) {
    if (platform::webSteppedHeld()) return;
    platform::webSetCounterMs(steppedFrameMs());
  }
  MainLoopPass pass;
  do {
    pass = runMainLoopPass(loopState);
  } while (pass == MainLoopPass::Message);
  if (pass == MainLoopPass::Frame && steppedFps > 0) {
    platform::webSteppedFrameShown(steppedFrameMs());
    ++steppedFrame;
  }
  if (pass != MainLoopPass::Done) return;
  emscripten_cancel_main_loop();
  const int exitCode = finishProgram(int(loopState.message.wParam));
  platform::webProgramEnded(exitCode);
}

}  // namespace

int main() {
  // The platform lives as long as the page: main returns while the loop goes on.
  static auto os = platform::createWebPlatform();
  platform::setCurrent(os.get());
  steppedFps = platform::webSteppedFps();
  // A frame drawn in an animation frame is shown by the browser's compositor; its moment is the
  // animation frame's (and in the stepped mode exactly the moment asked for).
  loopState.framesLead = false;
  // The timer starts at the stepped clock's zero, as a capture's does.
  if (steppedFps > 0) platform::webSetCounterMs(0);
  const int started = startProgram();
  if (started != kProgramRunning) {
    platform::webProgramEnded(started);
    return started;
  }
  // 0 frames per second: the browser's animation frames.
  emscripten_set_main_loop(animationFrame, 0, 0);
  return 0;
}
