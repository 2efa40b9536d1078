// The frame timer's integer millisecond arithmetic over a scripted counter.
#include "app/frame_timer.h"

#include <gtest/gtest.h>

namespace {

struct ScriptedCounter : platform::Counter {
  int64_t ticks = 0;
  int64_t hz = 1000000;
  int64_t frequency() override { return hz; }
  int64_t now() override { return ticks; }
};

}  // namespace

TEST(FrameTimer, TruncatesToWholeMilliseconds) {
  ScriptedCounter counter;
  counter.ticks = 5000;
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks += 999999;
  EXPECT_EQ(timer.elapsedMs(), 999u);
  counter.ticks += 1;
  EXPECT_EQ(timer.elapsedMs(), 1000u);
}

TEST(FrameTimer, FirstDeltaIsTheTimeSinceStartThenReadingsWithinAMillisecondGiveZero) {
  ScriptedCounter counter;
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks = 1234567;  // 1234.567 ms
  EXPECT_EQ(timer.sinceLastMs(), 1234u);
  counter.ticks += 400;  // 0.4 ms later
  EXPECT_EQ(timer.sinceLastMs(), 0u);
  EXPECT_EQ(timer.elapsedMs(), 1234u);
}

TEST(FrameTimer, DeltaAcrossTheThirtyTwoBitWrapComesOutRight) {
  ScriptedCounter counter;
  counter.hz = 1000;  // ticks are milliseconds
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks = int64_t(0xFFFFFFFFu) - 5;
  timer.sinceLastMs();
  counter.ticks += 16;  // 2^32 + 10 ms after start
  EXPECT_EQ(timer.elapsedMs(), 10u);
  EXPECT_EQ(timer.sinceLastMs(), 16u);
}

TEST(FrameTimer, ANanosecondCounterKeepsCountingAfterMonthsOfRunning) {
  ScriptedCounter counter;
  counter.hz = 1000000000;
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks = int64_t(200) * 24 * 3600 * 1000000000;  // 200 days
  EXPECT_EQ(timer.elapsedMs(), uint32_t(uint64_t(200) * 24 * 3600 * 1000));
}

TEST(FrameTimer, ACounterWithoutAFrequencyIsReadAsMilliseconds) {
  ScriptedCounter counter;
  counter.hz = 0;
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks = 250;
  EXPECT_EQ(timer.elapsedMs(), 250u);
}

TEST(FrameTimer, TicksBeforeTheStartGiveTheLowBitsOfANegativeCount) {
  // A counter that runs backwards is not guarded against: the arithmetic stays integer and defined.
  ScriptedCounter counter;
  counter.ticks = 2000000;
  FrameTimer timer(&counter);
  timer.start();
  counter.ticks = 1000000;
  EXPECT_EQ(timer.elapsedMs(), uint32_t(-1000));
}

// Frames drawn in 10 ms and shown every 12 ms: readings come to run 16 ms ahead (10 ms to the
// screen, half of the 12 ms on it), never more than 100 ms however slow the frames, and a timer
// moved to another counter (capture) reads it exactly again.
TEST(FrameTimer, ReadingsRunAheadByTheFramesLatency) {
  ScriptedCounter counter;  // microseconds
  FrameTimer timer(&counter);
  timer.start();
  auto frame = [&](int64_t drawUs, int64_t idleUs) {
    const uint32_t read = timer.elapsedMs();
    counter.ticks += drawUs;
    timer.frameShown();
    counter.ticks += idleUs;
    return read;
  };
  for (int i = 0; i < 200; ++i) frame(10000, 2000);
  const int64_t readAt = counter.ticks;
  EXPECT_NEAR(double(frame(10000, 2000)), double(readAt) / 1000.0 + 16.0, 1.0);

  for (int i = 0; i < 200; ++i) frame(400000, 0);
  const int64_t slowReadAt = counter.ticks;
  EXPECT_NEAR(double(frame(400000, 0)), double(slowReadAt) / 1000.0 + 100.0, 1.0);

  ScriptedCounter capture;
  timer.useCounter(&capture);
  timer.start();
  capture.ticks = 3000000;
  EXPECT_EQ(timer.elapsedMs(), 3000u);
}
