// A counter whose time is set exactly, one frame at a time, so that a headless run sees the
// milliseconds it was told to see and nothing of the wall clock.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace headless {

class SteppedCounter final : public platform::Counter {
 public:
  // One tick per millisecond: the frame timer's arithmetic then returns the set value unchanged.
  int64_t frequency() override { return 1000; }
  int64_t now() override { return nowMs_; }
  void set(int64_t ms) { nowMs_ = ms; }

 private:
  int64_t nowMs_ = 0;
};

}  // namespace headless
