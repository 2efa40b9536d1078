// The platform on the Win32 API: a registered window class and a real window procedure, the
// display-mode change, WGL for the GL context, GDI for the loading picture, message boxes, the
// performance counter, and the music through the system's MP3 codec and waveOut.
// Full screen: the exact 800x600 mode at 85 Hz, the same size without a refresh rate, or desktop
// full screen with the picture drawn into an 800x600 off-screen surface (a framebuffer object, or
// the back buffer's corner copied into a texture where the driver has none) and presented scaled
// with black bars. Lacks: pixel formats other than double-buffered RGBA.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/win32/display_mode.h"

namespace platform {

// `changeSettings` is the system's ChangeDisplaySettingsA; tests pass a stand-in that records.
std::unique_ptr<Platform> createWin32Platform(
    win32::DisplayMode::ChangeSettings changeSettings = ChangeDisplaySettingsA);

}  // namespace platform
