// Whole milliseconds since start() and since the previous reading, from a monotonic counter, in
// integer arithmetic that truncates. The counter is injectable so that capture, trace and tests can
// drive time exactly.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class FrameTimer {
 public:
  explicit FrameTimer(platform::Counter* counter = &platform::systemCounter())
      : counter_(counter), lastMs(0), frequency(counter->frequency()) {}

  void start() { startCount = counter_->now(); }

  // Milliseconds since start(), low 32 bits.
  uint32_t elapsedMs() {
    const int64_t ticks = counter_->now() - startCount;
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

  // Points the timer at another counter (capture, trace, tests) and forgets its readings.
  void useCounter(platform::Counter* counter) {
    counter_ = counter;
    startCount = 0;
    lastMs = 0;
    frequency = counter->frequency();
  }

 private:
  platform::Counter* counter_;

 public:
  int64_t startCount = 0;  // counter ticks at start()
  uint32_t lastMs;         // elapsed milliseconds at the previous sinceLastMs()
  int64_t frequency;       // counter ticks per second
};

// The program's timer: started when the music starts, read once per frame by the timeline.
extern FrameTimer frameTimer;
