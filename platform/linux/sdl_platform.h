// The platform on SDL2 and SDL2_mixer. Supports: full-screen in an exact 800x600 mode, the same
// size at another refresh rate, or desktop full screen with the picture drawn into an 800x600
// off-screen surface (a framebuffer object) and presented scaled with black bars; a plain window
// for headless use (SDL's off-screen driver). Lacks: pixel formats other than double-buffered RGBA.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

struct SdlOptions {
  // A plain window of the requested size instead of full screen: for headless rendering (capture,
  // trace, tests), where there is no display mode to change.
  bool windowed = false;
  // Message boxes go to stderr only (headless tools must never wait for a click).
  bool quietMessageBoxes = false;
};

std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options = {});

}  // namespace platform
