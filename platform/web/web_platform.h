// The platform in a web browser, on Emscripten's HTML5 API: a WebGL 1 context on the page's 800x600
// canvas (the page scales it, keeping its aspect), keyboard and page visibility as window messages,
// the loading picture on a 2D canvas laid over it, message boxes as in-page dialogs, the music
// decoded and played by Web Audio. Files are in Emscripten's in-memory file system, where the page
// has put data.dat before the program starts. Lacks: display modes (the page is the screen) and a
// cursor of its own.
//
// The page's stepped time mode (index.html?t=3000,7000&fps=10) shows chosen moments exactly as
// `demotool capture` draws them: the clock is set to frame i at i * 1000 / fps ms, nothing waits
// for a click or plays sound, and the page holds at each chosen moment until it is let go.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<Platform> createWebPlatform();

// Tells the page that the program has ended, with its exit code.
void webProgramEnded(int exitCode);

// The stepped time mode's frames per second, 0 when the page runs on the browser's clock.
int webSteppedFps();
// From now on the program's clock reads `ms`, until set again.
void webSetCounterMs(int64_t ms);
// True while the page holds the stepped run at a chosen moment.
bool webSteppedHeld();
// Tells the page which moment the frame just drawn shows.
void webSteppedFrameShown(int64_t ms);

}  // namespace platform
