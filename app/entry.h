// The program's spine: start-up order, the fixed GL state and the music start, the main loop and
// the exit code.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern int32_t windowActive;  // cleared while the window is minimised
extern int32_t keyDown[256];  // indexed by virtual-key code
extern platform::StreamHandle musicStream;

// The whole program is platform::programMain (platform/platform.h), defined in entry.cpp; it
// returns the process exit code.
int setupRenderState();
// The fixed GL state that setupRenderState sets before the assets load.
void setFixedRenderState();
// What one pass of the main loop did: took and dispatched a message, drew a frame, found nothing to
// do (the queue empty while minimised), or ended the loop (quit message, or Escape held at an empty
// pass).
enum class MainLoopPass { Message, Frame, Idle, Done };

struct MainLoopState {
  platform::Message message;  // the last message taken; its wParam is the exit code
  // The frame timer runs ahead by the frames' latency (FrameTimer::frameShown). Off where frames
  // are timed from outside: a browser's animation frames, stepped time.
  bool framesLead = true;
};

// One pass of the main loop: one message if one is waiting, else a frame while active. Systems
// whose main loop is driven from outside (a browser's animation frames) call it themselves.
MainLoopPass runMainLoopPass(MainLoopState& state);
// The message loop until quit or Escape; returns the exit code, the wParam of the last message
// taken.
int runMainLoop();

// programMain in its three steps, for systems that cannot wait in a loop of their own:
// startProgram unpacks the pack and opens the window; it returns kProgramRunning when the main loop
// is to run, else the exit code. finishProgram closes the window and returns the loop's exit code.
constexpr int kProgramRunning = -1;
int startProgram();
int finishProgram(int loopExitCode);
