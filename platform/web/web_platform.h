// The platform in a web browser, on Emscripten's HTML5 API: a WebGL 1 context on the page's 800x600
// canvas (the page scales it, keeping its aspect), keyboard and page visibility as window messages,
// the loading picture on a 2D canvas laid over it, message boxes as in-page dialogs, the music
// decoded and played by Web Audio. Files are in Emscripten's in-memory file system, where the page
// has put data.dat before the program starts. Lacks: display modes (the page is the screen) and a
// cursor of its own.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<Platform> createWebPlatform();

// Tells the page that the program has ended, with its exit code.
void webProgramEnded(int exitCode);

}  // namespace platform
