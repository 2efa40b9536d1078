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
// The message loop until quit or Escape; returns the exit code, the wParam of the last message
// taken.
int runMainLoop();
