// The one window and its GL context: full-screen mode, creation in a fixed order with a message for
// every failure, release in a fixed order, the message handler and the projection on size changes.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern platform::WindowHandle windowHandle;
extern platform::DeviceContext deviceContext;
extern platform::RenderContext renderContext;

// Opens everything and finishes start-up (loading screen, render state, music, timer). FALSE after
// a failure it has already reported.
int openWindow(const char* title, int width, int height, int bits);
void closeWindow();
void resizeView(int width, int height);
platform::MessageResult handleWindowMessage(platform::WindowHandle window,
                                            const platform::Message& message);
