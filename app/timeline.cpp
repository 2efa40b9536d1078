// The timeline: scene windows over the time since the music started, the eleven flash events and
// the flash overlay drawn last in every frame.
#include "app/timeline.h"

#include "app/frame_timer.h"
#include "fx/flash.h"
#include "fx/program_objects.h"
#include "fx/scenes.h"

const SceneTable presentationScenes = {
    {drawScene1, drawScene2, drawScene3, drawScene4, drawScene5, drawScene6, drawEndScene}};
Timeline timeline;

int sceneIndexAt(uint32_t nowMs) {
  for (int i = 0; i < kSceneCount; ++i)
    if (nowMs <= sceneEnds[i]) return i;
  return kSceneCount;
}

void Timeline::frame(FrameTimer& timer, FlashOverlay& flash, const SceneTable& scenes) {
  // Two readings: the delta first, then the time this frame shows.
  deltaMs = timer.sinceLastMs();
  nowMs = timer.elapsedMs();

  if (SceneFunction scene = scenes.scenes[sceneIndexAt(nowMs)]) scene(nowMs, deltaMs);

  // After the scene, so an event on a scene boundary fires in the next scene's first frame.
  for (int i = 0; i < kFlashEventCount; ++i) {
    if (nowMs > flashTimes[i] && flashFired[i] == 0) {
      flashFired[i] = 1;
      flash.trigger();
    }
  }
  flash.draw(float(double(deltaMs) / 200.0));
}

int Timeline::firedCount() const {
  int fired = 0;
  for (const int32_t f : flashFired) fired += f != 0 ? 1 : 0;
  return fired;
}

void timelineFrame() {
  timeline.frame(frameTimer, flash, presentationScenes);
}
