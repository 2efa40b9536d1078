// Decides, once per frame, what the frame shows: the one scene whose time window holds the time
// since the music started, the white flash at eleven fixed event times, and the flash overlay last.
#pragma once

#include <cstdint>

class FrameTimer;
class FlashOverlay;

constexpr int kFlashEventCount = 11;
// Milliseconds, ascending. The music's accents are composed on these times.
inline constexpr uint32_t flashTimes[kFlashEventCount] = {1000,  2605,  4280,  5861,  9050, 9621,
                                                          12000, 12149, 12349, 14604, 15591};

constexpr int kSceneCount = 6;
// Upper bounds (included, ms) of the windows of scenes 1 to 6; above the last, the end scene runs.
// The last is also the music's closing hit.
inline constexpr uint32_t sceneEnds[kSceneCount] = {4280, 9050, 12000, 12349, 14604, 16000};

using SceneFunction = void (*)(uint32_t elapsed, uint32_t delta);

// The scene functions in the order of their windows: scenes 1 to 6, then the end scene.
struct SceneTable {
  SceneFunction scenes[7];
};
extern const SceneTable presentationScenes;

// Which scene a time selects: 0 to 5 for scenes 1 to 6, 6 for the end scene.
int sceneIndexAt(uint32_t nowMs);

struct Timeline {
  // One frame: two timer readings, one scene, the flash events, the flash overlay.
  void frame(FrameTimer& timer, FlashOverlay& flash, const SceneTable& scenes);
  // How many of the eleven events have fired.
  int firedCount() const;

  int32_t flashFired[kFlashEventCount] = {};
  uint32_t nowMs = 0;    // milliseconds since the start of the music, this frame
  uint32_t deltaMs = 0;  // milliseconds since the previous frame's reading
};

extern Timeline timeline;

// The main loop's frame: timeline.frame on the program's timer, flash and scenes.
void timelineFrame();
