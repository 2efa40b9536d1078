#include "app/timeline.h"

#include "fx/program_objects.h"
#include "fx/scenes.h"

const uint32_t flashTimes[kFlashEventCount] = {1000,  2605,  4280,  5861,  9050, 9621,
                                               12000, 12149, 12349, 14604, 15591};
const SceneTable presentationScenes = {
    {drawScene1, drawScene2, drawScene3, drawScene4, drawScene5, drawScene6, drawEndScene}};
Timeline timeline;

int sceneIndexAt(uint32_t) {
  return 0;
}
void Timeline::frame(FrameTimer&, FlashOverlay&, const SceneTable&) {}
int Timeline::firedCount() const {
  return 0;
}
void timelineFrame() {
  timeline.frame(frameTimer, flash, presentationScenes);
}
