// Whole milliseconds since start() and since the previous reading, from a monotonic counter, in
// integer arithmetic that truncates. The counter is injectable so that capture, trace and tests can
// drive time exactly. A live main loop also tells the timer when each frame reaches the screen, and
// the readings then run ahead by the frames' own latency (see frameShown).
#pragma once

#include <cstdint>

#include "platform/platform.h"

class FrameTimer {
 public:
  explicit FrameTimer(platform::Counter* counter = &platform::systemCounter())
      : counter_(counter), lastMs(0), frequency(counter->frequency()) {}

  void start() { startCount = counter_->now(); }

  // Milliseconds since start(), low 32 bits, plus the lead.
  uint32_t elapsedMs() {
    lastReadCount = counter_->now();
    const int64_t ticks = lastReadCount - startCount + leadTicks;
    // A counter without a frequency is read as a millisecond clock. Whole seconds and the rest
    // are scaled apart: the truncated quotient is that of ticks * 1000 / frequency, without the
    // product, which would leave 64 bits after 106 days of a nanosecond counter.
    if (frequency <= 0) return uint32_t(uint64_t(ticks));
    const int64_t ms = ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
    return uint32_t(uint64_t(ms));
  }

  // Milliseconds since the previous call (modulo 2^32, so the wrap after 49.7 days comes out
  // right).
  uint32_t sinceLastMs() {
    const uint32_t now = elapsedMs();
    const uint32_t result = now - lastMs;
    lastMs = now;
    return result;
  }

  // The frame of the last reading is on the screen now. A frame is seen from the moment it is
  // shown until the next one replaces it, so the moment it should show is the middle of that time:
  // later readings run ahead by the time from reading to screen plus half the time between frames,
  // as the last frames took it (smoothed, at most 100 ms). With the music's start taken when its
  // first sample is heard, a flash is then seen as its accent is heard.
  void frameShown() {
    const int64_t shown = counter_->now();
    if (lastShownCount != 0 && lastReadCount != 0) {
      const int64_t ticksPerSecond = frequency > 0 ? frequency : 1000;
      int64_t target = (shown - lastReadCount) + (shown - lastShownCount) / 2;
      if (target < 0) target = 0;
      if (target > ticksPerSecond / 10) target = ticksPerSecond / 10;
      leadTicks += (target - leadTicks) / 8;
    }
    lastShownCount = shown;
  }

  // Points the timer at another counter (capture, trace, tests) and forgets its readings.
  void useCounter(platform::Counter* counter) {
    counter_ = counter;
    startCount = 0;
    lastMs = 0;
    frequency = counter->frequency();
    leadTicks = 0;
    lastReadCount = 0;
    lastShownCount = 0;
  }

 private:
  platform::Counter* counter_;

 public:
  int64_t startCount = 0;      // counter ticks at start()
  uint32_t lastMs;             // elapsed milliseconds at the previous sinceLastMs()
  int64_t frequency;           // counter ticks per second
  int64_t leadTicks = 0;       // how far readings run ahead of the counter (frameShown)
  int64_t lastReadCount = 0;   // counter ticks at the last reading
  int64_t lastShownCount = 0;  // counter ticks when the last frame was shown
};

// The program's timer: started when the music starts, read once per frame by the timeline.
extern FrameTimer frameTimer;
