// The timeline driven by a scripted counter: scene windows, flash events and the flash decay.
// The flash quad is drawn with no GL context current, where GL calls do nothing.
#include "app/timeline.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/frame_timer.h"
#include "fx/flash.h"

namespace {

// Millisecond ticks; each reading can advance the clock by a fixed amount afterwards.
class ScriptedCounter : public platform::Counter {
 public:
  int64_t frequency() override { return 1000; }
  int64_t now() override {
    const int64_t value = ms;
    ms += advancePerReading;
    return value;
  }
  int64_t ms = 0;
  int64_t advancePerReading = 0;
};

struct SceneCall {
  int scene;
  uint32_t elapsed;
  uint32_t delta;
};
std::vector<SceneCall> calls;

template <int N>
void recordScene(uint32_t elapsed, uint32_t delta) {
  calls.push_back({N, elapsed, delta});
}

// The flash times as the music's accents fall, written out here rather than read from the
// timeline, so that a changed entry there fails.
const uint32_t kAccents[11] = {1000,  2605,  4280,  5861,  9050, 9621,
                               12000, 12149, 12349, 14604, 15591};

const SceneTable recordingScenes = {{recordScene<0>, recordScene<1>, recordScene<2>, recordScene<3>,
                                     recordScene<4>, recordScene<5>, recordScene<6>}};

class TimelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    timer.start();
  }
  // One frame at the given time.
  void frameAt(uint32_t ms) {
    counter.ms = ms;
    timeline.frame(timer, flash, recordingScenes);
  }

  ScriptedCounter counter;
  FrameTimer timer{&counter};
  FlashOverlay flash;
  Timeline timeline;
};

}  // namespace

TEST_F(TimelineTest, EveryWindowBoundSelectsItsScene) {
  const std::pair<uint32_t, int> bounds[] = {
      {0, 0},     {4280, 0},  {4281, 1},  {9050, 1},  {9051, 2},  {12000, 2}, {12001, 3},
      {12349, 3}, {12350, 4}, {14604, 4}, {14605, 5}, {16000, 5}, {16001, 6}, {0xFFFFFFFFu, 6}};
  for (const auto& [ms, scene] : bounds) {
    EXPECT_EQ(sceneIndexAt(ms), scene) << ms << " ms";
    Timeline fresh;
    calls.clear();
    counter.ms = ms;
    fresh.frame(timer, flash, recordingScenes);
    ASSERT_EQ(calls.size(), 1u) << ms << " ms";
    EXPECT_EQ(calls[0].scene, scene) << ms << " ms";
    EXPECT_EQ(calls[0].elapsed, ms);
  }
}

TEST_F(TimelineTest, DeltaIsReadBeforeTheTime) {
  counter.advancePerReading = 3;  // each reading is 3 ms after the previous one
  timer.start();                  // reads 0
  timeline.frame(timer, flash, recordingScenes);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].delta, 3u);
  EXPECT_EQ(calls[0].elapsed, 6u);
  EXPECT_EQ(timeline.deltaMs, 3u);
  EXPECT_EQ(timeline.nowMs, 6u);
}

TEST_F(TimelineTest, EachEventFiresOneFrameAfterItsTimeAndOnlyOnce) {
  // Frames 1 ms apart: a trigger shows as 1 - 1/200 in the frame that fires it.
  const float fresh = 1.0f - float(1.0 / 200.0);
  size_t next = 0;
  for (uint32_t ms = 0; ms <= 16100; ++ms) {
    frameAt(ms);
    const bool fires = next < 11 && ms == kAccents[next] + 1;
    if (fires) ++next;
    ASSERT_EQ(timeline.firedCount(), int(next)) << ms << " ms";
    if (fires) {
      ASSERT_EQ(flash.alpha, fresh) << ms << " ms";
    } else {
      ASSERT_LT(flash.alpha, fresh) << ms << " ms";
    }
  }
  EXPECT_EQ(next, 11u);
  // An event on a scene boundary fires in the first frame of the next scene.
  calls.clear();
  Timeline boundary;
  counter.ms = 4280;
  boundary.frame(timer, flash, recordingScenes);
  EXPECT_EQ(boundary.firedCount(), 2);
  counter.ms = 4281;
  boundary.frame(timer, flash, recordingScenes);
  EXPECT_EQ(boundary.firedCount(), 3);
  EXPECT_EQ(calls.back().scene, 1);
}

TEST_F(TimelineTest, LateFirstFrameFiresSeveralAtOnceAndDrawsSceneOne) {
  frameAt(3000);
  EXPECT_EQ(timeline.firedCount(), 2);
  EXPECT_EQ(timeline.flashFired[0], 1);
  EXPECT_EQ(timeline.flashFired[1], 1);
  EXPECT_EQ(timeline.flashFired[2], 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].scene, 0);
  EXPECT_EQ(calls[0].delta, 3000u);
  EXPECT_EQ(flash.alpha, 0.0f);  // one flash, faded by 3000 / 200 at once
}

TEST_F(TimelineTest, FlashDecaysByDeltaOverTwoHundred) {
  frameAt(990);
  frameAt(1001);  // fires, then fades by 11 / 200
  EXPECT_EQ(flash.alpha, 1.0f - float(11.0 / 200.0));
  const float before = flash.alpha;
  frameAt(1001);  // the same millisecond: decay 0
  EXPECT_EQ(flash.alpha, before);
  frameAt(1101);
  EXPECT_EQ(flash.alpha, before - 0.5f);
  frameAt(1400);
  EXPECT_EQ(flash.alpha, 0.0f);
}

TEST_F(TimelineTest, NullScenesAreSkipped) {
  const SceneTable holes = {{nullptr, recordScene<1>, nullptr, nullptr, nullptr, nullptr, nullptr}};
  counter.ms = 2000;
  timeline.frame(timer, flash, holes);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(timeline.firedCount(), 1);
  counter.ms = 5000;
  timeline.frame(timer, flash, holes);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].scene, 1);
}
